#include "text/TableUses.h"

#include <algorithm>

#include "text/DecorationStyle.h"
#include "text/LogoString.h"
#include "text/LogoTextBlock.h"
#include "text/TextCharacters.h"

namespace {
const char* const kFallbacks[3] = {"size 1.0", "drawn in the default material", "drawn white"};


bool selects(int index, std::size_t count) { return index >= 0 && static_cast<std::size_t>(index) < count; }

std::string pastTheList(const char* entry, int index, std::size_t count) {
    return "selects " + std::string(entry) + " " + std::to_string(index) + ", but the list has " +
           std::to_string(count);
}

// The digits of one digit line that select nothing, each digit said once at
// the first character that has it. A space has a size but no material or
// colour.
void checkDigits(Diagnostics& report, const LogoTextBlock::Source& source, int kind, const std::vector<int>& digits,
                 std::size_t listSize) {
    struct Bad {
        int digit;
        std::size_t column;
        int count;
    };
    std::vector<Bad> bad;
    const std::u32string& line = source.characters;
    for (std::size_t j = 0; j < line.size() && source.offset + j < digits.size(); ++j) {
        if (kind != 0 && line[j] == U' ') continue;
        const int digit = digits[source.offset + j];
        const bool isDigit = digit >= 0 && digit <= 9;
        if (isDigit && (kind == 0 || selects(digit, listSize))) continue;
        auto same = std::find_if(bad.begin(), bad.end(), [&](const Bad& b) { return b.digit == digit; });
        if (same != bad.end()) ++same->count;
        else bad.push_back({digit, j, 1});
    }
    for (const Bad& b : bad) {
        const bool isDigit = b.digit >= 0 && b.digit <= 9;
        std::string message = ShownCharacter(static_cast<char32_t>(b.digit + '0')) +
                              (b.column >= source.digitCounts[kind] ? " (padding)" : "") + " of " +
                              ShownCharacter(line[b.column], "text line " + std::to_string(source.number) +
                                                                 ", column " +
                                                                 std::to_string(CharacterColumn(b.column))) +
                              " ";
        message += isDigit ? pastTheList(kind == 1 ? "material" : "colour", b.digit, listSize) : "is not a digit";
        message += std::string(": ") + kFallbacks[kind];
        if (b.count > 1) message += ", and so are " + std::to_string(b.count - 1) + " more characters of the line";
        report.Warning(source.digitLines[kind], kDigitKinds[kind], message);
    }
}
}  // namespace

void TableUses::Material(int line, const std::string& field, const char* what, int index) {
    if (report.Active()) uses.push_back({line, field, what, false, index});
}

void TableUses::Colour(int line, const std::string& field, const char* what, int index) {
    if (report.Active()) uses.push_back({line, field, what, true, index});
}

void TableUses::Decoration(int line, const std::string& field, const DecorationStyle& style) {
    if (style.enabled == 0) return;
    Material(line, field, "material", style.materialIndex);
    Colour(line, field, "colour A", style.colourIndexA);
    Colour(line, field, "colour B", style.colourIndexB);
}

void TableUses::Check(const LogoString& logo, const std::vector<LogoTextBlock::Source>& text) const {
    if (!report.Active()) return;
    for (const LogoTextBlock::Source& source : text) {
        checkDigits(report, source, 0, logo.sizeDigits, 10);
        checkDigits(report, source, 1, logo.materialDigits, logo.materials.size());
        checkDigits(report, source, 2, logo.colourDigits, logo.colours.size());
    }
    for (const Use& use : uses) {
        const std::size_t count = use.colour ? logo.colours.size() : logo.materials.size();
        if (selects(use.index, count)) continue;
        report.Warning(use.line, use.field,
                       use.what + " " + pastTheList(use.colour ? "colour" : "material", use.index, count) + ": " +
                           (use.colour ? "white is used" : "the default material is used"));
    }
}
