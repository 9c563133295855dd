#include "text/DataFileWarnings.h"

#include <filesystem>
#include <sstream>

#include "text/DataFileLoading.h"
#include "text/FileCheck.h"
#include "text/StrokeCharacterSet.h"

namespace {

// A pipe or device could not be read a second time by the loader, so only
// regular files are read here.
void readQuietly(const std::string& file, const char* what, std::string& name, std::string& text) {
    std::error_code error;
    if (file.empty() || !std::filesystem::is_regular_file(file, error)) return;
    std::ostringstream ignored;
    if (ReadDataFileOrReport(file, what, text, ignored)) name = file;
}

void addWarnings(const std::string& file, const std::vector<Finding>& findings, std::vector<std::string>& lines) {
    for (const Finding& finding : findings)
        if (finding.severity == Finding::Severity::Warning) lines.push_back(FormatFinding(file, finding));
}

}  // namespace

DataFileTexts ReadDataFileTexts(const std::string& fontFile, const std::string& envFile,
                                const std::string& stringFile) {
    DataFileTexts texts;
    readQuietly(fontFile, "font", texts.fontFile, texts.fontText);
    readQuietly(envFile, "environment", texts.envFile, texts.envText);
    readQuietly(stringFile, "string", texts.stringFile, texts.stringText);
    return texts;
}

std::vector<std::string> CheckerWarnings(const DataFileTexts& texts) {
    std::vector<std::string> lines;
    // As the checker does: the string file's glyphs are looked up in the
    // font only when the font was read.
    StrokeFontCharacterSet font;
    const bool fontRead = !texts.fontFile.empty();
    if (fontRead) addWarnings(texts.fontFile, CheckFont(texts.fontText, font), lines);
    if (!texts.envFile.empty()) addWarnings(texts.envFile, CheckEnvironment(texts.envText), lines);
    if (!texts.stringFile.empty())
        addWarnings(texts.stringFile, CheckStringFile(texts.stringText, fontRead ? &font : nullptr), lines);
    return lines;
}

void PrintWarnings(const std::vector<std::string>& lines, std::ostream& out, std::size_t limit) {
    for (std::size_t i = 0; i < lines.size() && i < limit; ++i) out << lines[i] << '\n';
    if (lines.size() > limit)
        out << "... and " << lines.size() - limit << " more warnings (logo3d-check lists them all)\n";
    out.flush();
}
