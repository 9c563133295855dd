// One damaged file per kind of problem the checker must name: each default
// file with one line changed (or a font of a few glyph lines), and the line,
// field and words of the finding it must give.
#include <gtest/gtest.h>

#include <sstream>

#include "DamagedFiles.h"
#include "text/FileCheck.h"
#include "scene/DataLine.h"
#include "text/StrokeCharacterSet.h"

namespace {

using Severity = Finding::Severity;
enum class File { Environment, Font, String };

struct Case {
    File file;
    // The line of the default file to replace (at its occurrence-th place),
    // or, for a font, "" to write the glyph lines after the default header.
    std::string from;
    int occurrence;
    std::string to;  // one or more lines
    int findingAt;   // which line of `to` the finding names, from 0
    Severity severity;
    std::string field;
    std::string message;
};

const char* const kNames[] = {"env.src", "font.src", "string.src"};

// The damaged text and the number of the line that must be named.
std::pair<std::string, int> damage(const Case& c) {
    const std::string original = damaged_files::DataFile(kNames[static_cast<int>(c.file)]);
    if (c.from.empty()) {
        std::istringstream font(original);
        return {readSignificantLine(font) + "\n" + c.to + "\n", 2 + c.findingAt};
    }
    std::istringstream in(original);
    std::string text, line;
    int number = 0, at = 0, seen = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line == c.from && ++seen == c.occurrence) {
            at = number;
            line = c.to;
        }
        text += line + "\n";
    }
    return {text, at + c.findingAt};
}

std::vector<Finding> check(File file, const std::string& text) {
    StrokeFontCharacterSet font;
    switch (file) {
        case File::Environment: return CheckEnvironment(text);
        case File::Font: return CheckFont(text, font);
        case File::String: return CheckStringFile(text, nullptr);
    }
    return {};
}

const std::string kLongLine(475, 'x');

const Case kCases[] = {
    // The environment file.
    {File::Environment, "0.8 0.83 0.88 1", 1, "0.8 x 0.88 1", 0, Severity::Error, "background colour",
     "expected 4 numbers, but green \"x\" is not a number (\"0.8 x 0.88 1\")"},
    {File::Environment, "0 400 400 -100 1000", 1, "0 400 400 -100", 0, Severity::Error, "projection",
     "expected 5 numbers, found 4 (\"0 400 400 -100\"): far is missing"},
    {File::Environment, "1.0 0.88 0.72 1", 1, "1.0 2 0.72 1", 0, Severity::Warning, "light 0 diffuse",
     "green 2 is outside 0..1 and becomes 1.0"},
    {File::Environment, "0 180 1 0 0", 2, "0 180 1 0", 0, Severity::Warning, "light 1 spot",
     "expected 5 numbers, found 4 (\"0 180 1 0\"): quadratic attenuation is missing; light 1 is used as read, and "
     "no later light is read"},
    {File::Environment, "0 180 1 0 0", 1, "0 100 1 0 0", 0, Severity::Warning, "light 0 spot",
     "spot cutoff 100 is neither within 0..90 nor 180: OpenGL refuses it and the light is no spot"},
    {File::Environment, "0 0.001 0 1100", 1, "7 0.001 0 1100", 0, Severity::Warning, "fog",
     "mode 7 is not 0..3: no fog"},
    // The font: its header, then glyph lines after the default header.
    {File::Font, "3.25 4 8 1.375 2 1 0 1 0 14 30 7 22", 1, "3.25 4 8 0.5 15 1 0 1 0 14 30 7 22", 0, Severity::Warning,
     "header", "cap style 15 is outside 2..11 and becomes 2"},
    {File::Font, "3.25 4 8 1.375 2 1 0 1 0 14 30 7 22", 1, "3.25 4 8 0.5 2 1 0 1 0 14 30 7", 0, Severity::Error,
     "header", "expected 13 numbers, found 12 (\"3.25 4 8 0.5 2 1 0 1 0 14 30 7\"): line gap is missing"},
    {File::Font, "", 0, "A e 1 1 l 5 5 x 3", 0, Severity::Error, "glyph 'A'",
     "'x' is not a stroke command (l p s c, or the markers e f): the glyph is left without strokes"},
    {File::Font, "", 0, "A e 1 1 l 5", 0, Severity::Error, "glyph 'A' line 1",
     "expected 2 numbers, found 1 (\"5\"): end y is missing"},
    {File::Font, "", 0, "A e 1 1 l 5 5 e\n ", 1, Severity::Error, "glyph",
     "expected a character and its strokes, found an empty line (only lines before the header may be empty)"},
    {File::Font, "", 0, "A e 1 1 l 1 1 e", 0, Severity::Warning, "glyph 'A' line 1",
     "its end (1, 1) is its start: a zero-length stroke, whose end moves to (2, 1)"},
    {File::Font, "", 0, "B e 5 5 c 5 5 90 e", 0, Severity::Warning, "glyph 'B' arc 1",
     "its start (5, 5) lies on its centre: the centre moves to (4, 5)"},
    {File::Font, "", 0, "C e 0 0 l 9 9 e", 0, Severity::Warning, "glyph 'C' point",
     "(0, 0) counts as no point: no dot can stand there, and a marker after it reads another point; write (0.01, 0)"},
    {File::Font, "", 0, "D e 1 1 l 5 5 e\nD e 1 1 l 9 9 e", 1, Severity::Warning, "glyph 'D'",
     "defined again (first at line 2): the first definition is drawn, while the last one's width spaces "
     "proportional text"},
    {File::Font, "", 0, "\x80 e 1 1 l 5 5 e", 0, Severity::Warning, "glyph 0x80",
     "the code is outside the printable characters '!'..'~': only that byte in a text reaches it"},
    // The string file.
    {File::String, "Solid Type", 1, "\\", 0, Severity::Error, "text",
     "expected a text line before the \"\\\" that ends the text"},
    {File::String, "\\", 1, kLongLine + "\n5\n1\n1\nHELLO\n5\n1\n1\n\\", 4, Severity::Warning, "text line 4",
     "\"HELLO\" is dropped with its digit lines: the text would reach 500 characters"},
    {File::String, "2000020000", 1, "2070020000", 0, Severity::Warning, "colour digits",
     "'7' of 'l' (text line 1, column 3) selects colour 7, but the list has 7: drawn white"},
    {File::String, "0 0 1", 1, "0 1", 0, Severity::Error, "shadow plane normal",
     "expected 3 numbers, found 2 (\"0 1\"): z is missing"},
    {File::String, "0", 1, "5 0 -40 -6 260 8 8 0 0 0", 0, Severity::Error, "line primitive",
     "expected 11 numbers, found 9 (\"0 -40 -6 260 8 8 0 0 0\"): material is missing"},
    {File::String, "1 4 5 7", 1, "1 4 5 12", 0, Severity::Warning, "colour material",
     "colour count 12 is outside 1..9 and becomes 1"},
    {File::String, "80", 1, "200", 0, Severity::Warning, "material 0 shininess",
     "200 is outside 0..128 and becomes 0.0"},
};

TEST(CheckerFindings, EachDamageIsNamedWithItsLineAndField) {
    for (const Case& c : kCases) {
        const auto [text, line] = damage(c);
        SCOPED_TRACE(std::string(kNames[static_cast<int>(c.file)]) + ":" + std::to_string(line) + ": " + c.field);
        ASSERT_GT(line, 0) << "the default file has no line " << c.from;
        const std::vector<Finding> findings = check(c.file, text);
        std::string all;
        const Finding* named = nullptr;
        for (const Finding& finding : findings) {
            all += FormatFinding("file", finding) + "\n";
            if (named == nullptr && finding.line == line && finding.field == c.field) named = &finding;
        }
        ASSERT_NE(named, nullptr) << all;
        EXPECT_EQ(named->severity, c.severity) << all;
        EXPECT_EQ(named->message, c.message);
        // A warning alone never makes the file fail.
        if (c.severity == Severity::Warning) {
            EXPECT_EQ(FirstError(findings), nullptr) << all;
        }
    }
}

}  // namespace
