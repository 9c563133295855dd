#pragma once

#include <istream>
#include <string>

class Diagnostics;

// Longest line any data file may hold; longer lines keep their first
// kMaxLineLength characters and the rest of the line is skipped.
constexpr std::size_t kMaxLineLength = 499;

// Fetches one raw line: up to the line feed (consumed, not kept), a carriage
// return before it dropped, at most kMaxLineLength characters kept.
std::string readRawLine(std::istream& in);
// The same, counting the line in report (a read at the very end of the file
// takes no line and counts none).
std::string readRawLine(std::istream& in, Diagnostics& report);

// Fetches the next significant line: empty lines and lines whose first
// character is '#' are skipped. At end of file the last line read is returned
// as it is (it may be empty).
std::string readSignificantLine(std::istream& in);
// The same, counting every line it takes, skipped ones included, in report.
std::string readSignificantLine(std::istream& in, Diagnostics& report);

// The same for a line of text: at most kMaxLineLength characters of UTF-8
// are kept, and a character is never cut (a line that is not UTF-8 keeps at
// least its first kMaxLineLength bytes).
std::string readSignificantTextLine(std::istream& in, Diagnostics& report);

// Reads one value and counts 1 when the stream is in a failed or bad state
// afterwards: the error count of every data-file reader is a sum of these.
template <typename T>
int readValue(std::istream& in, T& value) {
    in >> value;
    return in.fail() ? 1 : 0;
}

// True when the rest of a line holds more than blanks: an optional value
// follows.
bool HasMoreValues(std::istream& in);

// Reads what is left of the file and, when significant lines remain, warns
// at the first of them that field's reader stops before them, and why.
void reportUnreadLines(std::istream& in, Diagnostics& report, const std::string& field, const std::string& why);
