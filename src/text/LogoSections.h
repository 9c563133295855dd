#pragma once

#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "scene/Diagnostics.h"

class BasicObject;
class LogoString;
class TableUses;

// Readers of the sections that follow the text block in the string file. Each
// returns the number of values that failed to read and tells report what it
// found; uses, when given, hears of the material and colour indexes read.

int ReadSizeTable(std::istream& in, LogoString& logo, Diagnostics& report = Diagnostics::Silent());
// Band, under rule, over rule and middle rule.
int ReadDecorations(std::istream& in, LogoString& logo, Diagnostics& report = Diagnostics::Silent(),
                    TableUses* uses = nullptr);
// One line: the kind, then the primitive's own parameters. A kind without a
// class leaves no object and is no error. field names the line in findings.
int ReadPrimitive(std::istream& in, LogoString& owner, std::unique_ptr<BasicObject>& object,
                  Diagnostics& report = Diagnostics::Silent(), std::string_view field = {},
                  TableUses* uses = nullptr);
// Path mode and proportional spacing.
int ReadLayout(std::istream& in, LogoString& logo, Diagnostics& report = Diagnostics::Silent());
int ReadCharacterMotion(std::istream& in, LogoString& logo, Diagnostics& report = Diagnostics::Silent());
int ReadAnimation(std::istream& in, LogoString& logo, Diagnostics& report = Diagnostics::Silent());
int ReadLogoMotion(std::istream& in, LogoString& logo, Diagnostics& report = Diagnostics::Silent());
// Colour material, then the materials and colours. The lists stop at the
// first entry that fails to read (or follows a failure).
int ReadTables(std::istream& in, LogoString& logo, Diagnostics& report = Diagnostics::Silent());
