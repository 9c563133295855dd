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
}  // namespace

LogoTextBlock ReadLogoTextBlock(std::istream& in, std::size_t maxLength) {
    LogoTextBlock block;
    bool full = false;
    for (;;) {
        // A significant line is empty only at the end of the input.
        const std::string line = readSignificantLine(in);
        if (line.empty() || line == "\\") break;
        std::string digitLines[3];
        for (std::string& digits : digitLines) digits = readSignificantLine(in);
        full = full || block.text.size() + line.size() + 1 >= maxLength;
        if (full) block.droppedLines.push_back(line);
        else appendLine(block, line, digitLines);
        if (in.eof() || in.bad()) break;
    }
    return block;
}
