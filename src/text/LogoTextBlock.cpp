#include "text/LogoTextBlock.h"

#include "scene/DataLine.h"

namespace {
// What a separator and a short digit line stand for: size 5, the first
// material and colour entries after 0.
constexpr char kSizePad = '5';
constexpr char kIndexPad = '1';

void appendDigits(std::vector<int>& digits, const std::string& line, std::size_t count, char pad) {
    for (std::size_t j = 0; j < count; ++j) {
        const char digit = j < line.size() ? line[j] : pad;
        digits.push_back(static_cast<unsigned char>(digit) - '0');
    }
}

void appendLine(LogoTextBlock& block, const std::string& line, const std::string (&digitLines)[3]) {
    if (block.lineCount > 0) {
        block.text.push_back(kTextLineSeparator);
        block.sizeDigits.push_back(kSizePad - '0');
        block.materialDigits.push_back(kIndexPad - '0');
        block.colourDigits.push_back(kIndexPad - '0');
    }
    block.text += line;
    appendDigits(block.sizeDigits, digitLines[0], line.size(), kSizePad);
    appendDigits(block.materialDigits, digitLines[1], line.size(), kIndexPad);
    appendDigits(block.colourDigits, digitLines[2], line.size(), kIndexPad);
    ++block.lineCount;
}

const char* const kDigitKinds[3] = {"size digits", "material digits", "colour digits"};

// Notes where an accepted line came from and warns about digits beyond it.
void noteSource(LogoTextBlock& block, LogoTextBlock::Source source, const std::string (&digitLines)[3],
                Diagnostics& report) {
    source.offset = block.text.size() - source.line.size();
    for (int i = 0; i < 3; ++i) {
        source.digitCounts[i] = digitLines[i].size();
        if (digitLines[i].size() <= source.line.size()) continue;
        const std::size_t extra = digitLines[i].size() - source.line.size();
        report.Warning(source.digitLines[i], kDigitKinds[i],
                       std::to_string(digitLines[i].size()) + " digits for the " + std::to_string(source.line.size()) +
                           " characters of text line " + std::to_string(source.number) + ": the last " +
                           std::to_string(extra) + (extra == 1 ? " is" : " are") + " ignored");
    }
    block.sources.push_back(std::move(source));
}

void reportDropped(Diagnostics& report, const LogoTextBlock::Source& source, const std::string& line,
                   std::size_t maxLength) {
    report.Warning(source.textLine, "text line " + std::to_string(source.number),
                   "\"" + (line.size() > 40 ? line.substr(0, 37) + "..." : line) +
                       "\" is dropped with its digit lines: the text would reach " + std::to_string(maxLength) +
                       " characters");
}
}  // namespace

LogoTextBlock ReadLogoTextBlock(std::istream& in, std::size_t maxLength, Diagnostics& report) {
    LogoTextBlock block;
    bool full = false;
    for (int number = 1;; ++number) {
        // A significant line is empty only at the end of the input.
        const std::string line = readSignificantLine(in, report);
        if (line.empty() || line == "\\") break;
        LogoTextBlock::Source source;
        source.number = number;
        source.textLine = report.Line();
        std::string digitLines[3];
        for (int i = 0; i < 3; ++i) {
            digitLines[i] = readSignificantLine(in, report);
            source.digitLines[i] = report.Line();
        }
        full = full || block.text.size() + line.size() + 1 >= maxLength;
        if (full) {
            block.droppedLines.push_back(line);
            if (report.Active()) reportDropped(report, source, line, maxLength);
        } else {
            appendLine(block, line, digitLines);
            if (report.Active()) {
                source.line = line;
                noteSource(block, std::move(source), digitLines, report);
            }
        }
        if (in.eof() || in.bad()) break;
    }
    return block;
}
