#pragma once

#include <istream>
#include <string>
#include <vector>

// Joins the lines of the text.
constexpr char kTextLineSeparator = 13;

// The text of the string file as read: the accepted lines joined by carriage
// returns, one size, material and colour digit per character (the character
// code minus '0', unchecked), and the lines that did not fit.
struct LogoTextBlock {
    std::string text;
    std::vector<int> sizeDigits, materialDigits, colourDigits;
    unsigned lineCount = 0;
    std::vector<std::string> droppedLines;
};

// Reads groups of four significant lines (text, size digits, material digits,
// colour digits) up to a line holding only "\" or the end of the input. The
// text stays below maxLength characters: from the first line that would reach
// it on, lines are dropped together with their digit lines, so whatever
// follows the block is still read as written.
LogoTextBlock ReadLogoTextBlock(std::istream& in, std::size_t maxLength);
