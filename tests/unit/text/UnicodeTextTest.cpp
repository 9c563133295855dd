// Text beyond ASCII: UTF-8 lines read as characters, the checker's findings
// about them, accented letters composed from a base and marks, and aligned
// lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "LogoTestSupport.h"
#include "capture/Capture.h"
#include "scene/DataLine.h"
#include "text/ComposedGlyph.h"
#include "text/FileCheck.h"
#include "text/StrokeCharacter.h"
#include "text/TextCharacters.h"

namespace {

// A string file whose text block is the given lines, each with digit lines
// of one '0' per given digit count (-1: as many as the line has characters).
std::string stringFileWith(const std::vector<std::pair<std::string, int>>& lines) {
    logo_test::StringFile file;
    file.textBlock.clear();
    for (const auto& [line, digits] : lines) {
        const std::size_t n = digits < 0 ? CharacterCount(line) : static_cast<std::size_t>(digits);
        const std::string d(n, '0');
        file.textBlock += line + "\n" + d + "\n" + d + "\n" + d + "\n";
    }
    file.textBlock += "\\";
    return file.Text();
}

std::string repeated(const std::string& piece, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += piece;
    return out;
}

std::unique_ptr<StrokeFontCharacterSet> fontFile(const std::string& path);
std::unique_ptr<StrokeFontCharacterSet> defaultFont() { return fontFile("data/font.src"); }

std::string findingsOf(const std::string& text, StrokeFontCharacterSet* font) {
    std::string out;
    for (const Finding& finding : CheckStringFile(text, font)) out += FormatFinding("s", finding) + "\n";
    return out;
}

struct ReadCase {
    const char* what;
    std::vector<std::pair<std::string, int>> lines;
    std::u32string characters;  // of the whole text, separators included
    std::size_t markedAt;       // the character that keeps marks, or npos
    unsigned lineCount;
    const char* finding;  // a substring of the checker's findings, or "" for none
};

TEST(UnicodeText, EdgeCasesThroughTheReaderAndTheChecker) {
    const std::size_t none = std::string::npos;
    const std::vector<ReadCase> cases = {
        {"decomposed letters become one character", {{"Cafe\xcc\x81", 4}}, U"Café", none, 1, ""},
        {"a mark NFC cannot join stays with its letter", {{"q\xcc\x83!", 2}}, U"q!", 0, 1, ""},
        {"Latin-1 bytes are read whole, with a warning", {{"Caf\xe9 Z\xfcrich", 11}}, U"Café Zürich", none, 1,
         "s:1: warning: text line 1: is not UTF-8: it is read as Latin-1, one character per byte"},
        {"a 4-byte character is one character", {{"A\xf0\x9f\x98\x80" "B", 3}}, U"A\U0001F600B", none, 1, ""},
        {"digit lines count characters", {{"Café Zürich", 9}}, U"Café Zürich", none, 1,
         "colour digits: 9 digits for 11 characters; the last 2 take the padding '1'"},
        {"498 two-byte letters are read whole", {{repeated("é", 498), -1}}, std::u32string(498, U'é'), none, 1, ""},
        {"a second line that reaches 500 characters is dropped",
         {{repeated("é", 250), -1}, {repeated("ü", 249), -1}}, std::u32string(250, U'é'), none, 1,
         "is dropped with its digit lines: the text would reach 500 characters"},
        {"a second line that stays below 500 characters is kept",
         {{repeated("é", 250), -1}, {repeated("ü", 248), -1}},
         std::u32string(250, U'é') + U"\r" + std::u32string(248, U'ü'), none, 2, ""},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = stringFileWith(c.lines);
        LogoString logo;
        ASSERT_EQ(logo_test::ReadString(logo, text), 0);
        EXPECT_TRUE(logo.characters == c.characters) << logo.text;
        EXPECT_EQ(logo.length, c.characters.size());
        EXPECT_EQ(logo.colourDigits.size(), c.characters.size());
        EXPECT_EQ(logo.lineCount, c.lineCount);
        EXPECT_EQ(logo.marks.size(), c.markedAt == none ? 0u : 1u);
        if (c.markedAt != none) {
            EXPECT_TRUE(logo.MarksAt(c.markedAt) == U"\u0303");
        }
        const std::string findings = findingsOf(text, nullptr);
        if (*c.finding == '\0') EXPECT_EQ(findings, "");
        else EXPECT_NE(findings.find(c.finding), std::string::npos) << findings;
    }
}

// A line of 499 characters is fetched whole, however many bytes they take;
// the 500th is left off, never a part of a character.
TEST(UnicodeText, TextLinesHold499Characters) {
    for (const char* letter : {"e", "é", "€", "\xf0\x9f\x98\x80"}) {
        std::istringstream in(repeated(letter, 500) + "\n");
        const std::string line = readSignificantTextLine(in, Diagnostics::Silent());
        EXPECT_EQ(line, repeated(letter, 499)) << letter;
    }
}

TEST(UnicodeText, TheCheckerNamesCharactersTheFontCannotDraw) {
    auto font = defaultFont();
    const std::string findings = findingsOf(stringFileWith({{"Café жук ж", -1}}), font.get());
    EXPECT_EQ(findings,
              "s:1: warning: text line 1: 'ж' (U+0436, column 6 and 1 more) has no glyph in the font and is left out\n"
              "s:1: warning: text line 1: 'у' (U+0443, column 7) has no glyph in the font and is left out\n"
              "s:1: warning: text line 1: 'к' (U+043A, column 8) has no glyph in the font and is left out\n");
    EXPECT_EQ(findingsOf(stringFileWith({{"Café Zürich", -1}, {"Crème brûlée Łódź", -1}}), font.get()), "");
}

// A text given on the command line is checked as a string file's text is;
// a private-use character no face draws is named by its code.
TEST(UnicodeText, ATextGivenOnTheCommandLineNamesWhatTheFontCannotDraw) {
    auto font = defaultFont();
    const std::vector<std::string> warnings = TextWarnings("Ab|x\uE000y", *font);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("--text: warning: text line 2: ", 0), 0u) << warnings[0];
    EXPECT_NE(warnings[0].find("(U+E000, column 2) has no glyph in the font and is left out"), std::string::npos)
        << warnings[0];
    EXPECT_TRUE(TextWarnings("Café|Zürich", *font).empty());
}

TEST(UnicodeText, GlyphLinesBeginWithTheirCharacterOrItsCode) {
    StrokeFontCharacterSet font;
    std::istringstream in("1 1 8 1 2 1 0 1 0 10 30 2 6\né e 0 1 l 5 1 e\nU+0301 e 0 1 l 5 1 e\nU+1F600 e 0 1 e\n\xe9 e 0 1 e");
    font.Load(in);
    std::vector<char32_t> codes;
    for (const StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next) codes.push_back(c->code);
    EXPECT_EQ(codes, (std::vector<char32_t>{0xE9, 0x301, 0x1F600, 0xE9}));
    // The width table stays as small as the ASCII codes.
    unsigned count = 0;
    font.BuildWidthTable(count);
    EXPECT_EQ(count, 1u);
}

std::unique_ptr<StrokeFontCharacterSet> fontFile(const std::string& path) {
    auto font = std::make_unique<StrokeFontCharacterSet>();
    std::ifstream in(std::string(LOGO3D_SOURCE_DIR) + "/" + path);
    font->Load(in);
    return font;
}

// Every composable letter of Latin-1 and Latin Extended-A that a font can
// compose: the base glyph as it is (or its dotless form), each mark wholly
// above (or below) the base's ink, the marks of each side centred on it, at
// the base's advance.
TEST(UnicodeText, ComposedLettersPutTheirMarksOutsideTheBase) {
    // Every font here has every mark these letters need, so every letter
    // whose base it draws must compose.
    for (const char* file : {"data/font.src", "fonts/hershey/futural.src", "fonts/hershey/timesr.src",
                             "fonts/hershey/rowmans.src", "fonts/hershey/scripts.src", "fonts/hershey/gothicger.src"}) {
        SCOPED_TRACE(file);
        auto font = fontFile(file);
        int composed = 0;
        for (char32_t code = 0xC0; code <= 0x17F; ++code) {
            const std::u32string parts = CanonicalDecomposition(code);
            if (parts.size() < 2 || font->FindDrawable(code) != nullptr) continue;
            const StrokeCharacter* base = font->FindDrawable(parts[0]);
            if (base == nullptr) continue;
            SCOPED_TRACE(Utf8(code));
            const GlyphPlan plan = PlanGlyph(*font, code);
            ASSERT_TRUE(plan.Drawable());
            ++composed;
            const bool markAbove =
                std::any_of(parts.begin() + 1, parts.end(), [](char32_t m) { return !IsMarkBelow(m); });
            const StrokeCharacter* dotless = font->FindDrawable(parts[0] == U'i' ? 0x131 : 0x237);
            const bool dotted = parts[0] == U'i' || parts[0] == U'j';
            EXPECT_EQ(plan.base, markAbove && dotted && dotless != nullptr ? dotless : base);
            EXPECT_FLOAT_EQ(plan.advance, plan.base->maxX - plan.base->minX);
            ASSERT_FALSE(plan.marks.empty());
            const float w = font->strokeWidth;
            float left[2] = {1e9f, 1e9f}, right[2] = {-1e9f, -1e9f};
            for (const GlyphPlan::PlacedMark& mark : plan.marks) {
                const bool below = mark.glyph->maxY + mark.dy < plan.base->minY;
                if (below) {
                    EXPECT_LE(mark.glyph->maxY + mark.dy, std::min(plan.base->minY, 0.0f) - w + 1e-3);
                } else {
                    EXPECT_GE(mark.glyph->minY + mark.dy, plan.base->maxY + w - 1e-3);
                }
                left[below] = std::min(left[below], mark.dx);
                right[below] = std::max(right[below], mark.dx + mark.glyph->maxX - mark.glyph->minX);
            }
            for (int side = 0; side < 2; ++side) {
                if (left[side] > 1e8f) continue;
                EXPECT_NEAR(left[side] + right[side], plan.advance, 1e-3) << "not centred";
            }
        }
        EXPECT_GE(composed, 150);
    }
}

// The Greek and Cyrillic faces draw their letters typed as themselves, each
// with the glyph of the key that old files type it with, and compose what
// they lack (Ё, and cyrillic's Й); a letter without a glyph (the final
// sigma) is left out.
TEST(UnicodeText, GreekAndCyrillicFacesDrawTheirLettersAtTheirOwnCodes) {
    const struct {
        const char* face;
        std::u32string letters;  // every one drawable
        std::vector<std::pair<char32_t, char>> keys;  // a letter and the key with its glyph
    } faces[] = {
        {"greek", U"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩαβγδεζηθικλμνξοπρστυφχψωάέήίόύώ", {{U'Λ', 'L'}, {U'θ', 'q'}, {U'ξ', 'x'}}},
        {"timesg", U"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩαβγδεζηθικλμνξοπρστυφχψω", {{U'Χ', 'C'}, {U'ψ', 'y'}}},
        {"greeks", U"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩαβγδεζηθικλμνξοπρστυφχψω", {{U'Γ', 'C'}, {U'ω', 'x'}}},
        {"greekc", U"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩαβγδεζηθικλμνξοπρστυφχψω", {{U'Σ', 'R'}}},
        {"cyrillic", U"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя",
         {{U'Э', 'C'}, {U'Я', '^'}, {U'я', '}'}, {U'ъ', '|'}, {U'Ц', '`'}, {U'й', 'e'}}},
        {"cyrilc_1", U"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩабвгдеёжзийклмнопрстуфхцчшщ", {{U'Й', 'J'}, {U'щ', 'z'}}},
    };
    for (const auto& f : faces) {
        SCOPED_TRACE(f.face);
        auto font = fontFile(std::string("fonts/hershey/") + f.face + ".src");
        for (char32_t letter : f.letters) {
            EXPECT_TRUE(PlanGlyph(*font, letter).Drawable()) << Utf8(letter);
        }
        for (const auto& [letter, key] : f.keys) {
            const StrokeCharacter* own = font->FindDrawable(letter);
            const StrokeCharacter* old = font->FindDrawable(static_cast<char32_t>(key));
            ASSERT_TRUE(own != nullptr && old != nullptr) << Utf8(letter);
            EXPECT_EQ(std::make_pair(own->minX, own->maxY), std::make_pair(old->minX, old->maxY)) << Utf8(letter);
            EXPECT_EQ(std::make_pair(own->maxX, own->minY), std::make_pair(old->maxX, old->minY)) << Utf8(letter);
        }
        EXPECT_FALSE(PlanGlyph(*font, U'ς').Drawable());
    }
    // Й is composed in cyrillic, of И and the breve its й has.
    auto cyrillic = fontFile("fonts/hershey/cyrillic.src");
    const GlyphPlan shortI = PlanGlyph(*cyrillic, U'Й');
    EXPECT_EQ(shortI.base, cyrillic->FindDrawable(U'И'));
    EXPECT_EQ(shortI.marks.size(), 1u);
}

// The composed glyph draws the base's list where the base alone would be
// drawn, and the marks' lists elsewhere, leaving the pen at the base's advance.
TEST(UnicodeText, AComposedLetterDrawsItsBaseUnchanged) {
    auto font = defaultFont();
    capture::Reset();
    const GlyphPlan plan = PlanGlyph(*font, U'é');
    DrawPlan(plan);
    const auto placed = logo_test::PlacedGlyphs(*font);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed.back().code, 'e');
    EXPECT_DOUBLE_EQ(placed.back().x, 0.0);
    EXPECT_DOUBLE_EQ(placed.back().y, 0.0);
    EXPECT_GT(placed.front().y + plan.marks[0].glyph->minY, plan.base->maxY);
}

TEST(UnicodeText, AlignedLinesAreCentredFlushLeftOrFlushRight) {
    auto font = logo_test::LoadTestFont();
    // Widths from the test font: A 12, B 8, C 6, letter gap 4.
    const float wide = 12 + 4 + 8 + 4 + 12, narrow = 6;
    for (int alignment : {0, 1, 2, 3}) {
        SCOPED_TRACE(alignment);
        logo_test::StringFile file;
        file.textBlock = "ABA\n111\n000\n000\nC\n1\n0\n0\n\\";
        file.sizes = "1 1 1 1 1 1 1 1 1 1";
        file.layout = "0 1" + (alignment == 0 ? std::string() : " " + std::to_string(alignment));
        LogoString logo;
        ASSERT_EQ(logo_test::ReadString(logo, file.Text()), 0);
        logo.Prepare(font.get());
        capture::Reset();
        logo.Draw();
        const auto placed = logo_test::PlacedGlyphs(*font);
        ASSERT_EQ(placed.size(), 4u);
        const double firstLeft = placed[0].x, secondLeft = placed[3].x;
        const double expected[4][2] = {{-wide / 2, -wide / 2},
                                       {-wide / 2, -narrow / 2},
                                       {-wide / 2, -wide / 2},
                                       {-wide / 2, wide / 2 - narrow}};
        EXPECT_NEAR(firstLeft, expected[alignment][0], 1e-4);
        EXPECT_NEAR(secondLeft, expected[alignment][1], 1e-4);
    }
}

}  // namespace
