#pragma once

// The three data files read as the viewer reads them, in its order, with
// the checker's findings and its loaders' messages: what every export
// starts from.

#include <memory>
#include <string>
#include <vector>

#include "ExportLogo.h"
#include "scene/Environment.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

struct LogoReading {
    StrokeFontCharacterSet font;
    Environment environment;
    LogoString logo;
    bool ready = false;              // all three read: the logo can be drawn
    std::string problem;             // else the loader's line that says why
    std::vector<std::string> notes;  // the checker's warnings, then the loaders'
    std::vector<FileFindings> findings;
    std::vector<ValuePlace> values;
    std::string stringName;          // the string file's name, as messages name it
};

// The logo's text comes from `text` (lines separated by '|', in the font's
// style) when it is not empty, else from the string file.
std::unique_ptr<LogoReading> ReadLogo(const LogoTexts& texts, const std::string& text, bool checkFiles,
                                      bool valuePlaces);
