#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>

#include "ExportSteps.h"

namespace {

bool validUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        i += length;
    }
    return true;
}

// UTF-8 as it is, anything else read as Latin-1, as the studio reads files:
// a page's JSON holds UTF-8 only.
std::string asUtf8(const std::string& title) {
    if (validUtf8(title)) return title;
    std::string out;
    for (char c : title) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
            continue;
        }
        out += static_cast<char>(0xc0 | (b >> 6));
        out += static_cast<char>(0x80 | (b & 0x3f));
    }
    return out;
}

}  // namespace

std::string TitleOf(const LogoString& logo) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::string title;
    std::istringstream lines(logo.text);
    std::string line;
    while (std::getline(lines, line, LogoString::kLineSeparator)) {
        const auto first = std::find_if_not(line.begin(), line.end(), blank);
        const auto last = std::find_if_not(line.rbegin(), line.rend(), blank).base();
        if (first >= last) continue;
        if (!title.empty()) title += ' ';
        title.append(first, last);
    }
    return title.empty() ? "logo3d" : asUtf8(title);
}

std::string ReportLine(const char* format, double a, double b, double c, double d, double e) {
    char line[256];
    std::snprintf(line, sizeof line, format, a, b, c, d, e);
    return line;
}
