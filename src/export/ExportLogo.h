#pragma once

// The one way a logo is exported, by every program that exports one: the
// three data files' texts and the settings in; the files' bytes, the
// checker's findings, the warnings and the report out. It reads, lays out,
// draws through the capture layer, cleans, makes solids and writes bytes,
// in memory: the exporter writes the files it returns, the studio hands
// them to the browser.

#include <array>
#include <string>
#include <vector>

#include "ExportedFile.h"
#include "PageConfig.h"
#include "scene/Diagnostics.h"
#include "solid/PrintPreparation.h"
#include "solid/SolidGrid.h"

enum class ExportFormat { kGlb, kGltf, kObj, kStl, kHtml, k3mf };

// The format an output name asks for; false when its extension is none we write.
bool FormatOfName(const std::string& name, ExportFormat& format);

// A data file as read: its name (as messages name it) and its text. A file
// that could not be read has `read` false and `problem` the line saying so.
struct DataFileText {
    DataFileText(std::string name_ = "", std::string text_ = "") : name(std::move(name_)), text(std::move(text_)) {}
    std::string name;
    std::string text;
    bool read = true;
    std::string problem;
};

struct LogoTexts {
    DataFileText font{"font.src"}, environment{"env.src"}, string{"string.src"};
};

struct ExportSettings {
    ExportFormat format = ExportFormat::kGlb;
    std::string output = "logo.glb";  // the file's name; partners (.bin, .mtl) go beside it
    float millimetresPerUnit = 1.0f;
    int frame = -1;            // animation frame of the whole-logo motion; -1: the still logo
    bool shadow = false;
    bool weld = false;
    bool embedBuffer = false;  // .gltf: buffer as a data URI instead of a .bin beside it
    bool sourceReport = false; // report where the turned-over triangles came from
    bool checkFiles = true;    // the checker's warnings about the data files
    std::string title;         // the web page's title; empty: the logo's text
    float loopSeconds = 3.0f;  // one loop of the whole-logo motion in glTF and on the page
    std::string text;          // lines separated by '|' instead of the string file's text
    PrintLayout print;         // STL and 3MF
    SolidGridMaker grid;       // STL and 3MF: the grid their solids are made on
    PageOptions page;          // .html: how the page presents the logo
    bool stillPicture = true;  // .html: a picture for browsers that cannot draw the logo
    bool studioPicture = false;  // the studio's own picture: a .glb without the shadow, and the page's settings
    bool valuePlaces = false;    // where each value of the files stands (the studio's editors)
};

// Where a value that read stands in its file (0 font, 1 environment, 2 string).
struct ValuePlace {
    int file;
    ValueSpan span;
};

struct FileFindings {
    std::string file;
    std::vector<Finding> findings;  // in the order of the file
};

// Figures of the mesh that was made, for a status line.
struct ExportFigures {
    std::size_t drawn = 0, degenerate = 0, rewound = 0, written = 0;
    std::size_t motionFrames = 0;
    std::array<float, 3> sizeMillimetres{{0, 0, 0}};
    std::size_t refusedCalls = 0;  // calls OpenGL would refuse
};

struct ExportResult {
    int status = 0;                    // 0: files made; 1: nothing to write, `problem` says why
    std::string problem;               // one line for the standard error stream
    std::vector<std::string> notes;    // warnings and notes, in order, for the standard error stream
    ExportedFiles files;               // in the order they are written
    std::vector<std::string> report;   // what was written, for the standard output once it is
    std::vector<FileFindings> findings;  // the checker's, font, environment, string
    std::vector<ValuePlace> values;
    ExportFigures figures;
    std::string title;                 // the logo's text on one line
    std::string pageConfig;            // JSON: the page's settings, for pages and the studio's picture
};

ExportResult ExportLogo(const LogoTexts& texts, const ExportSettings& settings);
