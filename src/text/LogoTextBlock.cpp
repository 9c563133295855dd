#include "text/LogoTextBlock.h"

#include "scene/DataLine.h"

namespace {
// What a separator and a short digit line stand for: size 5, the first
// material and colour entries after 0.
constexpr char kSizePad = '5';
constexpr char kIndexPad = '1';
const char kPads[3] = {kSizePad, kIndexPad, kIndexPad};

void appendDigits(std::vector<int>& digits, const std::u32string& line, std::size_t count, char pad) {
    for (std::size_t j = 0; j < count; ++j) {
        const char32_t digit = j < line.size() ? line[j] : static_cast<char32_t>(pad);
        digits.push_back(static_cast<int>(digit) - '0');
    }
}

void appendLine(LogoTextBlock& block, const TextCharacters& line,
                const std::u32string (&digitLines)[3]) {
    if (block.lineCount > 0) {
        block.text.push_back(kTextLineSeparator);
        block.characters.push_back(static_cast<char32_t>(kTextLineSeparator));
        block.sizeDigits.push_back(kSizePad - '0');
        block.materialDigits.push_back(kIndexPad - '0');
        block.colourDigits.push_back(kIndexPad - '0');
    }
    // The text is NFC UTF-8, whatever the line was.
    block.text += Utf8(line);
    const std::size_t start = block.characters.size();
    block.characters += line.characters;
    for (const auto& entry : line.marks) block.marks[start + entry.first] = entry.second;
    const std::size_t count = line.characters.size();
    appendDigits(block.sizeDigits, digitLines[0], count, kSizePad);
    appendDigits(block.materialDigits, digitLines[1], count, kIndexPad);
    appendDigits(block.colourDigits, digitLines[2], count, kIndexPad);
    ++block.lineCount;
}

// Warns about digits beyond the line's characters, and about characters
// beyond the digits, which take the padding digit.
void checkDigitCounts(const LogoTextBlock::Source& source, Diagnostics& report) {
    const std::size_t characters = source.characters.size();
    for (int i = 0; i < 3; ++i) {
        const std::size_t digits = source.digitCounts[i];
        if (digits > characters) {
            const std::size_t extra = digits - characters;
            report.Warning(source.digitLines[i], kDigitKinds[i],
                           std::to_string(digits) + " digits for the " + std::to_string(characters) +
                               " characters of text line " + std::to_string(source.number) + ": the last " +
                               std::to_string(extra) + (extra == 1 ? " is" : " are") + " ignored");
        } else if (digits < characters) {
            const std::size_t missing = characters - digits;
            report.Warning(source.digitLines[i], kDigitKinds[i],
                           std::to_string(digits) + " digits for " + std::to_string(characters) +
                               " characters; the last " + std::to_string(missing) + " take" +
                               (missing == 1 ? "s" : "") + " the padding '" + kPads[i] + "'");
        }
    }
}

// Notes where an accepted line came from and warns about what it holds.
void noteSource(LogoTextBlock& block, LogoTextBlock::Source source, const TextCharacters& line,
                const std::u32string (&digitLines)[3], Diagnostics& report) {
    source.characters = line.characters;
    source.latin1 = line.latin1;
    source.offset = block.characters.size() - source.characters.size();
    for (int i = 0; i < 3; ++i) source.digitCounts[i] = digitLines[i].size();
    if (line.latin1)
        report.Warning(source.textLine, "text line " + std::to_string(source.number),
                       "is not UTF-8: it is read as Latin-1, one character per byte");
    checkDigitCounts(source, report);
    block.sources.push_back(std::move(source));
}

void reportDropped(Diagnostics& report, const LogoTextBlock::Source& source, const TextCharacters& line,
                   std::size_t maxLength) {
    const std::u32string& c = line.characters;
    report.Warning(source.textLine, "text line " + std::to_string(source.number),
                   "\"" + (c.size() > 40 ? Utf8(c.substr(0, 37)) + "..." : Utf8(c)) +
                       "\" is dropped with its digit lines: the text would reach " + std::to_string(maxLength) +
                       " characters");
}
}  // namespace

LogoTextBlock ReadLogoTextBlock(std::istream& in, std::size_t maxLength, Diagnostics& report) {
    LogoTextBlock block;
    bool full = false;
    for (int number = 1;; ++number) {
        // A significant line is empty only at the end of the input.
        const std::string bytes = readSignificantTextLine(in, report);
        if (bytes.empty() || bytes == "\\") break;
        const TextCharacters line = DecodeText(bytes, kMaxLineLength);
        LogoTextBlock::Source source;
        source.number = number;
        source.textLine = report.Line();
        std::u32string digitLines[3];
        for (int i = 0; i < 3; ++i) {
            digitLines[i] = DecodeText(readSignificantTextLine(in, report), kMaxLineLength).characters;
            source.digitLines[i] = report.Line();
        }
        full = full || block.characters.size() + line.characters.size() + 1 >= maxLength;
        if (full) {
            block.droppedLines.push_back(Utf8(line));
            if (report.Active()) reportDropped(report, source, line, maxLength);
        } else {
            appendLine(block, line, digitLines);
            if (report.Active()) {
                source.line = Utf8(line);
                noteSource(block, std::move(source), line, digitLines, report);
            }
        }
        if (in.eof() || in.bad()) break;
    }
    return block;
}
