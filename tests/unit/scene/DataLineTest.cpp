#include "scene/DataLine.h"

#include <gtest/gtest.h>

#include <sstream>

#include "scene/Color.h"
#include "scene/Material.h"

namespace {

TEST(ReadSignificantLine, SkipsEmptyAndCommentLinesOnly) {
    std::istringstream in("\n# comment\n\n #not a comment\nnext\n");
    EXPECT_EQ(readSignificantLine(in), " #not a comment");
    EXPECT_EQ(readSignificantLine(in), "next");
}

TEST(ReadSignificantLine, CarriageReturnLineEndsReadLikeLineFeeds) {
    std::istringstream in("# c\r\n\r\n1 2 3\r\n4\r\n");
    EXPECT_EQ(readSignificantLine(in), "1 2 3");
    EXPECT_EQ(readSignificantLine(in), "4");
}

TEST(ReadSignificantLine, LastLineWithoutLineEndIsKeptAndEndOfFileIsReported) {
    std::istringstream in("a\nlast");
    EXPECT_EQ(readSignificantLine(in), "a");
    EXPECT_FALSE(in.eof());
    EXPECT_EQ(readSignificantLine(in), "last");
    EXPECT_TRUE(in.eof());
    EXPECT_EQ(readSignificantLine(in), "");
}

TEST(ReadSignificantLine, OverlongLineKeepsItsHeadAndSkipsItsTail) {
    std::string longLine(700, 'x');
    std::istringstream in(longLine + "\nafter\n");
    EXPECT_EQ(readSignificantLine(in), std::string(kMaxLineLength, 'x'));
    EXPECT_EQ(readSignificantLine(in), "after");
}

struct ColorCase {
    const char* line;
    Color expected;
    int failures;
};

class ReadColorTest : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ReadColorTest, ReplacesOutOfRangeComponentsByOne) {
    std::istringstream in(GetParam().line);
    Color c(0.3f, 0.3f, 0.3f, 0.3f);
    EXPECT_EQ(readColor(c, in), GetParam().failures);
    if (GetParam().failures == 0) {
        EXPECT_FLOAT_EQ(c.red, GetParam().expected.red);
        EXPECT_FLOAT_EQ(c.green, GetParam().expected.green);
        EXPECT_FLOAT_EQ(c.blue, GetParam().expected.blue);
        EXPECT_FLOAT_EQ(c.alpha, GetParam().expected.alpha);
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, ReadColorTest,
                         ::testing::Values(ColorCase{"0 0.5 1 1.5\n", {0, 0.5f, 1, 1}, 0},
                                           ColorCase{"-0.1 0 0 1\n", {1, 0, 0, 1}, 0},
                                           ColorCase{"0.5 2 0 1\n", {0.5f, 1, 0, 1}, 0},
                                           ColorCase{"# skipped\n\n0.1 0.2 0.3 0.4 9 9\n", {0.1f, 0.2f, 0.3f, 0.4f}, 0},
                                           ColorCase{"0.1 0.2 0.3\n0.4\n", {}, 1},
                                           ColorCase{"red green blue alpha\n", {}, 4},
                                           ColorCase{"", {}, 4}));

TEST(ReadColor, NeverBorrowsFromTheNextLine) {
    std::istringstream in("0.1 0.2 0.3\n0.4 0.5 0.6 0.7\n");
    Color first, second;
    EXPECT_EQ(readColor(first, in), 1);
    EXPECT_EQ(readColor(second, in), 0);
    EXPECT_FLOAT_EQ(second.red, 0.4f);
}

TEST(ColorArithmetic, NeverClamps) {
    Color sum = Color(0.8f, 0.8f, 0.8f, 1) + Color(0.5f, 0.5f, 0.5f, 1);
    EXPECT_FLOAT_EQ(sum.red, 1.3f);
    EXPECT_FLOAT_EQ(sum.alpha, 2.0f);
    Color difference = Color(0, 0, 0, 0) - Color(1, 1, 1, 1);
    EXPECT_FLOAT_EQ(difference.green, -1.0f);
    Color scaled = 2.0f * Color(0.75f, 0, 0, 1);
    EXPECT_FLOAT_EQ(scaled.red, 1.5f);
    EXPECT_FLOAT_EQ((Color(0.75f, 0, 0, 1) * 2.0f).alpha, 2.0f);
}

TEST(MaterialRead, ShininessOutsideRangeBecomesZero) {
    const char* body = "0.1 0.1 0.1 1\n0.5 0.5 0.5 1\n# comment\n1 1 1 1\n%s\n0 0 0 1\n";
    for (auto [text, expected] : {std::pair<const char*, float>{"200", 0.0f}, {"128", 128.0f}, {"-1", 0.0f},
                                  {"64.5", 64.5f}}) {
        char buffer[200];
        std::snprintf(buffer, sizeof buffer, body, text);
        std::istringstream in(buffer);
        Material m;
        EXPECT_EQ(m.Read(in), 0) << text;
        EXPECT_FLOAT_EQ(m.shininess, expected) << text;
        EXPECT_FLOAT_EQ(m.diffuse.red, 0.5f);
    }
}

TEST(MaterialRead, CountsEveryMissingValue) {
    std::istringstream in("0.1 0.1 0.1 1\n");
    Material m;
    EXPECT_EQ(m.Read(in), 4 + 4 + 1 + 4);
}

}  // namespace
