#include "scene/DataLine.h"

std::string readRawLine(std::istream& in) {
    std::string line;
    std::istream::sentry ok(in, true);
    if (!ok) return line;
    std::streambuf* buffer = in.rdbuf();
    for (;;) {
        int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            if (line.empty()) in.setstate(std::ios::failbit);
            break;
        }
        if (c == '\n') break;
        if (line.size() < kMaxLineLength) line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::string readSignificantLine(std::istream& in) {
    for (;;) {
        std::string line = readRawLine(in);
        if (in.eof() || in.bad()) return line;
        if (!line.empty() && line[0] != '#') return line;
    }
}
