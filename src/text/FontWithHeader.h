#pragma once

#include <istream>
#include <string>

// The text of a font file with its header line (the first line that is
// neither empty nor a comment) replaced by header: the same glyphs in
// another style.
std::string FontWithHeader(std::istream& font, const std::string& header);
