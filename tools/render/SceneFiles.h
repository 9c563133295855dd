#pragma once

#include <iosfwd>
#include <string>

// The text of a string file that lays out the given lines (separated by '|')
// in white, at size 1, proportionally spaced, with no decoration.
std::string StringFileForText(const std::string& text);

// The font file's text with its header line (the first line that is neither
// empty nor a comment) replaced by header.
std::string FontWithHeader(std::istream& font, const std::string& header);
