#pragma once

#include <istream>
#include <string>

// Longest line any data file may hold; longer lines keep their first
// kMaxLineLength characters and the rest of the line is skipped.
constexpr std::size_t kMaxLineLength = 499;

// Fetches one raw line: up to the line feed (consumed, not kept), a carriage
// return before it dropped, at most kMaxLineLength characters kept.
std::string readRawLine(std::istream& in);

// Fetches the next significant line: empty lines and lines whose first
// character is '#' are skipped. At end of file the last line read is returned
// as it is (it may be empty).
std::string readSignificantLine(std::istream& in);

// Reads one value and counts 1 when the stream is in a failed or bad state
// afterwards: the error count of every data-file reader is a sum of these.
template <typename T>
int readValue(std::istream& in, T& value) {
    in >> value;
    return in.fail() ? 1 : 0;
}
