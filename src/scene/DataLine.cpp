#include "scene/DataLine.h"

#include "scene/Diagnostics.h"

#include <istream>

namespace {
// How much of a line is kept: kMaxLineLength bytes, or for text lines
// kMaxLineLength characters of UTF-8, never cut inside one.
struct LineBound {
    bool characters = false;
    bool Keeps(const std::string& line, int c, std::size_t& count) const {
        if (!characters) return line.size() < kMaxLineLength;
        const bool continues = (static_cast<unsigned char>(c) & 0xC0) == 0x80;
        if (line.size() >= kMaxLineLength * 4) return false;
        if (continues && count > 0) return true;
        // Combining marks (U+0300..U+036F start with these bytes) join the
        // character before them once the line is normalised.
        const bool mark = c == 0xCC || c == 0xCD;
        if (mark && count > 0) return true;
        if (count >= kMaxLineLength) return false;
        ++count;
        return true;
    }
};

// Returns false when the stream held nothing more: no line was taken.
bool fetchRawLine(std::istream& in, std::string& line, LineBound bound = {}) {
    std::istream::sentry ok(in, true);
    if (!ok) return false;
    std::streambuf* buffer = in.rdbuf();
    bool lineEnd = false;
    std::size_t count = 0;
    bool cut = false;
    for (;;) {
        int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            if (line.empty()) in.setstate(std::ios::failbit);
            break;
        }
        if (c == '\n') {
            lineEnd = true;
            break;
        }
        // Once a byte is left out, so is the rest of the line.
        cut = cut || !bound.Keeps(line, c, count);
        if (!cut) line.push_back(static_cast<char>(c));
    }
    const bool took = lineEnd || !line.empty();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return took;
}
}  // namespace

std::string readRawLine(std::istream& in) {
    std::string line;
    fetchRawLine(in, line);
    return line;
}

std::string readRawLine(std::istream& in, Diagnostics& report) {
    std::string line;
    if (fetchRawLine(in, line)) report.LineFetched(line);
    return line;
}

std::string readSignificantTextLine(std::istream& in, Diagnostics& report) {
    for (;;) {
        std::string line;
        if (fetchRawLine(in, line, LineBound{true})) report.LineFetched(line);
        const bool significant = !line.empty() && line[0] != '#';
        if (significant) report.SignificantLineFetched();
        if (significant || in.eof() || in.bad()) return line;
    }
}

std::string readSignificantLine(std::istream& in) { return readSignificantLine(in, Diagnostics::Silent()); }

std::string readSignificantLine(std::istream& in, Diagnostics& report) {
    for (;;) {
        std::string line = readRawLine(in, report);
        const bool significant = !line.empty() && line[0] != '#';
        if (significant) report.SignificantLineFetched();
        if (significant || in.eof() || in.bad()) return line;
    }
}

void reportUnreadLines(std::istream& in, Diagnostics& report, const std::string& field, const std::string& why) {
    if (!report.Active()) return;
    int first = 0, count = 0;
    while (!in.eof() && !in.bad()) {
        const std::string line = readSignificantLine(in, report);
        if (line.empty() || line[0] == '#') break;
        if (count++ == 0) first = report.Line();
    }
    if (count == 0) return;
    report.Warning(first, field,
                   (count == 1 ? std::string("1 more line is") : std::to_string(count) + " more lines are") +
                       " not read: " + why);
}

bool HasMoreValues(std::istream& in) {
    if (!in.good()) return false;
    in >> std::ws;
    // Reaching the end of the line is no failure of the values read.
    if (in.eof()) {
        in.clear(std::ios::eofbit);
        return false;
    }
    return true;
}
