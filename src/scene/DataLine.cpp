#include "scene/DataLine.h"

#include "scene/Diagnostics.h"

namespace {
// Returns false when the stream held nothing more: no line was taken.
bool fetchRawLine(std::istream& in, std::string& line) {
    std::istream::sentry ok(in, true);
    if (!ok) return false;
    std::streambuf* buffer = in.rdbuf();
    bool lineEnd = false;
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
        if (line.size() < kMaxLineLength) line.push_back(static_cast<char>(c));
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
