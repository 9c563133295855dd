#pragma once

// The steps of an export after the files have been read and the logo drawn:
// a mesh file or page from the cleaned triangles, or a print's solid.

#include <functional>
#include <string>

#include "ExportLogo.h"
#include "LogoCapture.h"
#include "LogoReading.h"

// What the export knows of the drawing: the triangles, and which of them a
// glyph's own display list drew (and which glyph).
struct DrawnExport {
    LogoReading& files;
    const CapturedLogo& captured;
    std::vector<std::string> surfaceNames;
    std::function<bool(const capture::Triangle&)> isGlyph;
    std::function<std::string(const capture::Triangle&)> sourceName;
};

void ExportMesh(const DrawnExport& drawn, const ExportSettings& settings, ExportResult& result);
void ExportPrint(const DrawnExport& drawn, const ExportSettings& settings, ExportResult& result);

// A line of the report with up to five numbers in it (printf's format).
std::string ReportLine(const char* format, double a, double b = 0, double c = 0, double d = 0, double e = 0);

// The logo's text on one line, for a page's title: each line trimmed, the
// lines that hold anything joined by a space; UTF-8 as it is, other bytes
// read as Latin-1.
std::string TitleOf(const LogoString& logo);
