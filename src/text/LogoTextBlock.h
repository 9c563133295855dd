#pragma once

#include <istream>
#include <string>
#include <vector>

#include "scene/Diagnostics.h"
#include "text/TextCharacters.h"

// Joins the lines of the text.
constexpr char kTextLineSeparator = 13;

// The text of the string file as read: the accepted lines joined by carriage
// returns, as UTF-8 and as characters (code points after NFC), one size,
// material and colour digit per character (the character code minus '0',
// unchecked), and the lines that did not fit.
// The three kinds of digit line, as findings name them.
inline constexpr const char* kDigitKinds[3] = {"size digits", "material digits", "colour digits"};

struct LogoTextBlock {
    std::string text;
    std::u32string characters;
    // Combining marks that stay with the character at the key's index.
    std::map<std::size_t, std::u32string> marks;
    std::vector<int> sizeDigits, materialDigits, colourDigits;
    unsigned lineCount = 0;
    std::vector<std::string> droppedLines;

    // Where each accepted line came from, kept when a report is active.
    struct Source {
        int number = 0;  // the line's place among the text lines of the file, from 1
        int textLine = 0;
        int digitLines[3] = {};       // size, material, colour digits (kDigitKinds)
        std::size_t digitCounts[3] = {};  // digits each line held
        std::size_t offset = 0;       // of the line's first character in characters
        std::string line;             // as written
        std::u32string characters;    // as read
        bool latin1 = false;          // not UTF-8: read as Latin-1
    };
    std::vector<Source> sources;
};

// Reads groups of four significant lines (text, size digits, material digits,
// colour digits) up to a line holding only "\" or the end of the input. The
// text stays below maxLength characters: from the first line that would reach
// it on, lines are dropped together with their digit lines, so whatever
// follows the block is still read as written.
// A report hears of dropped lines, of digit lines longer or shorter than
// their text and of text lines that are not UTF-8.
LogoTextBlock ReadLogoTextBlock(std::istream& in, std::size_t maxLength,
                                Diagnostics& report = Diagnostics::Silent());
