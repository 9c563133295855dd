#include "text/FileCheck.h"

#include <algorithm>
#include <sstream>

#include "scene/Environment.h"
#include "text/GlyphCodes.h"
#include "text/TextCharacters.h"
#include "text/LogoString.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"
#include "text/TextStringFile.h"

namespace {

// What DrawCode finds for a code: the first character that has it.
bool drawsSomething(const StrokeFontCharacterSet& font, char32_t code) {
    for (const StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
        if (c->code == code) return c->firstStroke != nullptr;
    return false;
}

// 'A', 'é' (U+00E9), or byte 0x09 for ASCII that is not printable, with
// its place.
std::string shownCharacter(char32_t c, const std::string& place) {
    if (c >= U'!' && c != 0x7F) return ShownCharacter(c, place);
    const std::string glyph = GlyphName(c);
    return "byte " + glyph.substr(glyph.find(' ') + 1) + " (" + place + ")";
}

// What the layout makes of character i when the font cannot draw it; empty
// when it draws.
std::string fateOf(const LogoString& logo, const StrokeFontCharacterSet& font, std::size_t i,
                   LogoString::Cell::Kind kind) {
    switch (kind) {
        case LogoString::Cell::Skipped:
            return logo.characters[i] > 0x7F ? "has no glyph in the font and is left out"
                                             : "has no glyph in the font: it is left out";
        case LogoString::Cell::EndsLayout:
            return logo.SizeFactor(static_cast<unsigned>(i)) == 0.0f
                       ? "has size 0, and so no width: the logo ends before it"
                       : "has no glyph in the font, and so no width: the logo ends before it";
        case LogoString::Cell::Glyph:
            if (!logo.PlainAscii(i)) return "";
            return drawsSomething(font, logo.characters[i]) ? "" : "has no glyph in the font: its cell stays empty";
        default: return "";
    }
}

// Each character of the text that draws nothing, said once per text line,
// up to the one that ends the logo.
void checkGlyphs(LogoString& logo, StrokeFontCharacterSet& font, FindingList& report) {
    logo.Prepare(&font);
    for (const LogoTextBlock::Source& source : logo.TextSources()) {
        const std::u32string& line = source.characters;
        std::u32string said;
        for (std::size_t j = 0; j < line.size(); ++j) {
            const std::size_t i = source.offset + j;
            const char32_t c = line[j];
            const LogoString::Cell::Kind kind = logo.CellAt(i, logo.SizeFactor(static_cast<unsigned>(i))).kind;
            const std::string fate = fateOf(logo, font, i, kind);
            if (fate.empty() || said.find(c) != std::u32string::npos) continue;
            said.push_back(c);
            const auto count = std::count(line.begin(), line.end(), c);
            report.Warning(source.textLine, "text line " + std::to_string(source.number),
                           shownCharacter(c, "column " + std::to_string(CharacterColumn(j)) +
                                                 (count > 1 ? " and " + std::to_string(count - 1) + " more" : "")) +
                               " " + fate);
            if (kind == LogoString::Cell::EndsLayout) return;
        }
    }
}

}  // namespace

std::vector<Finding> CheckFont(const std::string& text, StrokeFontCharacterSet& font) {
    FindingList report;
    std::istringstream in(text);
    font.Load(in, report);
    return InLineOrder(report.Findings());
}

std::vector<Finding> CheckEnvironment(const std::string& text) {
    FindingList report;
    Environment environment;
    std::istringstream in(text);
    environment.Read(in, report);
    return InLineOrder(report.Findings());
}

std::vector<Finding> CheckStringFile(const std::string& text, StrokeFontCharacterSet* font) {
    FindingList report;
    LogoString logo;
    std::istringstream in(text);
    if (logo.Read(in, report) == 0 && font != nullptr) checkGlyphs(logo, *font, report);
    return InLineOrder(report.Findings());
}

std::vector<std::string> TextWarnings(const std::string& text, StrokeFontCharacterSet& font) {
    std::vector<std::string> lines;
    for (const Finding& finding : CheckStringFile(StringFileForText(text), &font))
        if (finding.severity == Finding::Severity::Warning)
            lines.push_back("--text: warning: " + Printable(finding.field) + ": " + Printable(finding.message));
    return lines;
}

std::string FormatFinding(const std::string& file, const Finding& finding) {
    const char* severity = finding.severity == Finding::Severity::Error ? "error" : "warning";
    return FindingPlace(file, finding.line) + ": " + severity + ": " + Printable(finding.field) + ": " +
           Printable(finding.message);
}
