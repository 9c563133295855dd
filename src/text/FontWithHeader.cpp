#include "text/FontWithHeader.h"

#include <sstream>

std::string FontWithHeader(std::istream& font, const std::string& header) {
    std::ostringstream out;
    std::string line;
    bool replaced = false;
    while (std::getline(font, line)) {
        const bool isHeader = !replaced && !line.empty() && line[0] != '#';
        out << (isHeader ? header : line) << '\n';
        replaced = replaced || isHeader;
    }
    return out.str();
}
