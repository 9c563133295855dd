#pragma once

// std::to_chars for float in its shortest form that reads back exactly, which
// the C++ library of Debian's emscripten lacks: the same text as a complete
// library writes (fixed or scientific, whichever is shorter, fixed on a tie).
// Forced into every source of the WebAssembly build.

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace std {

inline to_chars_result to_chars(char* first, char* last, float value) {
    char e[32];
    int precision = 0;
    for (; precision < 9; ++precision) {
        std::snprintf(e, sizeof e, "%.*e", precision, static_cast<double>(value));
        if (std::strtof(e, nullptr) == value) break;
    }
    std::string text;
    if (value != value || value - value != 0.0f) {
        text = e;  // inf or nan: as printf writes them
    } else {
        // e is "-d.ddde+XX": the digits and the exponent.
        std::string s = e;
        std::string sign;
        if (s[0] == '-') {
            sign = "-";
            s.erase(0, 1);
        }
        const std::size_t at = s.find('e');
        const int exponent = std::atoi(s.c_str() + at + 1);
        std::string digits = s.substr(0, at);
        if (digits.size() > 1) digits.erase(1, 1);  // the point
        std::string scientific = sign + digits.substr(0, 1) + (digits.size() > 1 ? "." + digits.substr(1) : "") + "e" +
                                 (exponent < 0 ? "-" : "+") + (std::abs(exponent) < 10 ? "0" : "") +
                                 std::to_string(std::abs(exponent));
        std::string fixed;
        const int point = exponent + 1;  // digits before the point
        if (point <= 0) fixed = "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
        else if (static_cast<std::size_t>(point) >= digits.size())
            fixed = digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
        else fixed = digits.substr(0, static_cast<std::size_t>(point)) + "." + digits.substr(static_cast<std::size_t>(point));
        if (value == 0.0f) fixed = "0";
        fixed = sign + fixed;
        text = fixed.size() <= scientific.size() ? fixed : scientific;
    }
    if (static_cast<std::size_t>(last - first) < text.size()) return {last, errc::value_too_large};
    std::memcpy(first, text.data(), text.size());
    return {first + text.size(), errc()};
}

}  // namespace std
