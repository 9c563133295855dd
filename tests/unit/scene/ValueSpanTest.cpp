// Where the readers say each value stands: for every file of the program
// and every example, each place holds the number that was read there, whole,
// and the places of a line follow each other; a colour's four values carry
// the names of its components.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "scene/Diagnostics.h"
#include "scene/Environment.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

namespace {

class SpanList : public FindingList {
public:
    SpanList() { wantsValues = true; }
    std::vector<ValueSpan> spans;

protected:
    void RecordValue(const ValueSpan& span) override { spans.push_back(span); }
};

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

using Reader = std::function<void(std::istream&, Diagnostics&)>;

std::vector<ValueSpan> spansOf(const std::string& text, const Reader& read) {
    SpanList report;
    std::istringstream in(text);
    read(in, report);
    return report.spans;
}

void expectEachSpanIsItsNumber(const std::filesystem::path& path, const Reader& read) {
    const std::string text = readText(path);
    const std::vector<std::string> lines = linesOf(text);
    const std::vector<ValueSpan> spans = spansOf(text, read);
    EXPECT_FALSE(spans.empty()) << path;
    const ValueSpan* previous = nullptr;
    for (const ValueSpan& span : spans) {
        ASSERT_GE(span.line, 1) << path;
        ASSERT_LE(static_cast<std::size_t>(span.line), lines.size()) << path;
        const std::string& line = lines[static_cast<std::size_t>(span.line - 1)];
        ASSERT_LT(span.from, span.to) << path << ":" << span.line << " " << span.field;
        ASSERT_LE(static_cast<std::size_t>(span.to), line.size()) << path << ":" << span.line;
        const std::string number = line.substr(static_cast<std::size_t>(span.from), static_cast<std::size_t>(span.to - span.from));
        char* end = nullptr;
        std::strtod(number.c_str(), &end);
        EXPECT_EQ(end, number.c_str() + number.size())
            << path << ":" << span.line << " " << span.field << " " << span.name << ": \"" << number << "\"";
        if (previous != nullptr && previous->line == span.line) {
            EXPECT_LE(previous->to, span.from) << path << ":" << span.line;
        }
        previous = &span;
    }
}

const Reader kFont = [](std::istream& in, Diagnostics& report) {
    StrokeFontCharacterSet font;
    font.Load(in, report);
};
const Reader kEnvironment = [](std::istream& in, Diagnostics& report) {
    Environment environment;
    environment.Read(in, report);
};
const Reader kString = [](std::istream& in, Diagnostics& report) {
    LogoString logo;
    logo.Read(in, report);
};

}  // namespace

TEST(ValueSpan, EachPlaceHoldsTheNumberReadThere) {
    const std::filesystem::path source = LOGO3D_SOURCE_DIR;
    expectEachSpanIsItsNumber(source / "data/font.src", kFont);
    expectEachSpanIsItsNumber(source / "data/env.src", kEnvironment);
    expectEachSpanIsItsNumber(source / "data/string.src", kString);
    expectEachSpanIsItsNumber(source / "fonts/hershey/futural.src", kFont);
    for (const auto& example : std::filesystem::directory_iterator(source / "examples")) {
        if (std::filesystem::exists(example.path() / "string.src")) expectEachSpanIsItsNumber(example.path() / "string.src", kString);
        if (std::filesystem::exists(example.path() / "font.src")) expectEachSpanIsItsNumber(example.path() / "font.src", kFont);
    }
}

TEST(ValueSpan, AColourNamesItsComponents) {
    const std::string text = "# background\n  0.8 0.83\t0.88 1\n";
    std::vector<ValueSpan> spans = spansOf(text + readText(std::filesystem::path(LOGO3D_SOURCE_DIR) / "data/env.src"), kEnvironment);
    ASSERT_GE(spans.size(), 4u);
    const struct { int from, to; const char* name; } expected[] = {{2, 5, "red"}, {6, 10, "green"}, {11, 15, "blue"}, {16, 17, "alpha"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(spans[static_cast<std::size_t>(i)].line, 2);
        EXPECT_EQ(spans[static_cast<std::size_t>(i)].from, expected[i].from);
        EXPECT_EQ(spans[static_cast<std::size_t>(i)].to, expected[i].to);
        EXPECT_EQ(spans[static_cast<std::size_t>(i)].name, expected[i].name);
    }
}

TEST(ValueSpan, ASilentReadKeepsNoPlaces) {
    FindingList report;
    EXPECT_FALSE(report.WantsValues());
    EXPECT_FALSE(Diagnostics::Silent().WantsValues());
}
