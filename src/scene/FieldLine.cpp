#include "scene/FieldLine.h"

#include <algorithm>
#include <cctype>

namespace {
constexpr std::size_t kLongestQuote = 60;

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::size_t skipBlanks(const std::string& text, std::size_t at) {
    while (at < text.size() && isBlank(text[at])) ++at;
    return at;
}

std::size_t tokenEnd(const std::string& text, std::size_t at) {
    while (at < text.size() && !isBlank(text[at])) ++at;
    return at;
}

// text[from, to) without its surrounding blanks, cut down around focus when
// it is too long to quote whole.
std::string excerpt(const std::string& text, std::size_t from, std::size_t to, std::size_t focus) {
    to = std::min(to, text.size());
    from = skipBlanks(text, std::min(from, to));
    while (to > from && isBlank(text[to - 1])) --to;
    if (to - from <= kLongestQuote) return text.substr(from, to - from);
    const std::size_t half = kLongestQuote / 2;
    std::size_t start = focus > from + half ? focus - half : from;
    start = std::min(start, to - kLongestQuote);
    const std::size_t end = start + kLongestQuote;
    return (start > from ? "..." : "") + text.substr(start, end - start) + (end < to ? "..." : "");
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// One word of a line, cut short when it is a whole line of noise.
std::string wordAt(const std::string& text, std::size_t start) {
    constexpr std::size_t kLongestWord = 30;
    const std::string word = text.substr(start, tokenEnd(text, start) - start);
    return word.size() <= kLongestWord ? word : word.substr(0, kLongestWord - 3) + "...";
}

const char* kindOf(bool integral) { return integral ? "an integer" : "a number"; }

// The field's name is text only for a report that will say it.
std::string kept(const Diagnostics& report, std::string_view field) {
    return report.Active() ? std::string(field) : std::string();
}
}  // namespace

FieldLine::FetchedLine FieldLine::Fetch(std::istream& file, Diagnostics& report) {
    FetchedLine fetched;
    fetched.text = readSignificantLine(file, report);
    // At the end of the file the fetcher hands back whatever it read last:
    // nothing, or a comment that ends the file.
    fetched.fileEnded = file.eof() && (fetched.text.empty() || fetched.text[0] == '#');
    return fetched;
}

FieldLine::FieldLine(std::istream& file, Diagnostics& report_, std::string_view field_, const char* const* names_)
    : FieldLine(Fetch(file, report_), report_, field_, names_) {}

FieldLine::FieldLine(FetchedLine fetched, Diagnostics& report_, std::string_view field_, const char* const* names_)
    : owned(std::in_place, fetched.text), in(*owned), report(report_), field(kept(report_, field_)), names(names_),
      line(report_.Line()), endOfFile(fetched.fileEnded), checkRest(true), quoteFrom(0) {}

FieldLine::FieldLine(Continuing, std::istream& values, Diagnostics& report_, std::string_view field_,
                     const char* const* names_)
    : in(values), report(report_), field(kept(report_, field_)), names(names_), line(report_.Line()), checkRest(false),
      quoteFrom(0) {
    if (report.Active()) quoteFrom = Position();
}

FieldLine::FieldLine(Fetched, const std::string& text, Diagnostics& report_, std::string_view field_,
                     const char* const* names_)
    : FieldLine(FetchedLine{text, false}, report_, field_, names_) {
    // The rest of the line fetched last: it ends that line.
    const std::string& whole = report.LineText();
    const bool ends = whole.size() >= text.size() && whole.compare(whole.size() - text.size(), text.size(), text) == 0;
    lineOffset = ends ? static_cast<std::streamoff>(whole.size() - text.size()) : -1;
}

FieldLine::~FieldLine() {
    if (!report.Active()) return;
    ReportFailure();
    if (failedValue < 0 && checkRest) ReportRest();
}

std::streamoff FieldLine::Position() const {
    std::streambuf* buffer = in.rdbuf();
    if (buffer == nullptr) return -1;
    return static_cast<std::streamoff>(buffer->pubseekoff(0, std::ios::cur, std::ios::in));
}

void FieldLine::Count(bool failed, std::streamoff before, bool integral) {
    if (!failed && report.WantsValues() && lineOffset >= 0 && before >= 0) {
        const std::string text = Text();
        const std::size_t from = skipBlanks(text, std::min(static_cast<std::size_t>(before), text.size()));
        const std::streamoff after = Position();
        const std::size_t to = after >= 0 ? std::max(from, static_cast<std::size_t>(after)) : tokenEnd(text, from);
        report.ValueRead({line, static_cast<int>(lineOffset + static_cast<std::streamoff>(from)),
                          static_cast<int>(lineOffset + static_cast<std::streamoff>(to)), field, ValueName(expected)});
    }
    if (!failed) ++found;
    else if (failedValue < 0) {
        failedValue = expected;
        failedAt = before;
    }
    if (integral && expected < 64) integralValues |= 1ull << expected;
    allIntegral = allIntegral && integral;
    ++expected;
}

std::string FieldLine::Text() const {
    if (owned) return owned->str();
    if (const auto* text = dynamic_cast<const std::istringstream*>(&in)) return text->str();
    return {};
}

std::string FieldLine::ValueName(int index) const {
    if (names != nullptr) {
        for (int i = 0; names[i] != nullptr; ++i)
            if (i == index) return names[i];
    }
    return "value " + std::to_string(index + 1);
}

std::string FieldLine::Subject(int index) const {
    const std::string name = ValueName(index);
    const bool said = field.size() >= name.size() && field.compare(field.size() - name.size(), name.size(), name) == 0;
    return said ? std::string() : name + " ";
}

std::string FieldLine::Expected() const {
    if (expected == 1) return kindOf(allIntegral);
    return std::to_string(expected) + (allIntegral ? " integers" : " numbers");
}

void FieldLine::ReplacedValue(int index, double value, const char* why, double replacement, bool floating) {
    std::string shown = ShownValue(replacement);
    if (floating && shown.find_first_of(".e") == std::string::npos) shown += ".0";
    Replaced(Subject(index) + ShownValue(value) + " " + why + " and becomes " + shown);
}

void FieldLine::Replaced(const std::string& message) {
    // On a line that failed, the failure is what matters.
    if (!report.Active() || failedValue >= 0) return;
    report.Warning(line, field, message);
}

void FieldLine::ReportFailure() {
    if (failedValue < 0) return;
    const std::string text = Text();
    const std::size_t from = static_cast<std::size_t>(std::max<std::streamoff>(quoteFrom, 0));
    std::size_t at = failedAt < 0 ? text.size() : std::min(static_cast<std::size_t>(failedAt), text.size());
    std::size_t start = skipBlanks(text, at);
    if (start >= text.size()) {
        if (found == 0 && endOfFile) {
            if (report.FirstEndOfFile())
                report.Failure(line, field, "expected " + Expected() + ", found the end of the file");
            return;
        }
        std::string message = "expected " + Expected() + ", found ";
        if (found == 0) message += "nothing";
        else message += std::to_string(found) + " (" + quoted(excerpt(text, from, text.size(), text.size())) + ")";
        if (names != nullptr) message += ": " + ValueName(failedValue) + " is missing";
        report.Failure(line, field, message);
        return;
    }
    // A value that stopped inside a word (the integer part of "1.5") leaves
    // the rest of the word to the next value: the word is the culprit.
    int culprit = failedValue;
    if (start == at && at > from && at > 0 && !isBlank(text[at - 1]) && culprit > 0) {
        --culprit;
        while (start > from && !isBlank(text[start - 1])) --start;
    }
    const bool integral = culprit < 64 && ((integralValues >> culprit) & 1u) != 0;
    const std::string word = wordAt(text, start);
    const std::string name = names != nullptr ? Subject(culprit) : "";
    report.Failure(line, field,
                   "expected " + Expected() + ", but " + name + quoted(word) + " is not " + kindOf(integral) + " (" +
                       quoted(excerpt(text, from, text.size(), start)) + ")");
}

void FieldLine::ReportRest() {
    if (expected == 0) return;
    const std::string text = Text();
    const std::streamoff position = Position();
    if (position < 0) return;
    const std::size_t at = std::min(static_cast<std::size_t>(position), text.size());
    const std::size_t start = skipBlanks(text, at);
    if (start >= text.size()) return;
    if (start == at && at > 0 && !isBlank(text[at - 1])) {
        std::size_t wordStart = at;
        while (wordStart > 0 && !isBlank(text[wordStart - 1])) --wordStart;
        const std::size_t wordEnd = tokenEnd(text, at);
        const bool integral = expected - 1 < 64 && ((integralValues >> (expected - 1)) & 1u) != 0;
        report.Warning(line, field,
                       quoted(text.substr(wordStart, wordEnd - wordStart)) + " is not " + kindOf(integral) + ": " +
                           quoted(text.substr(wordStart, at - wordStart)) + " is read and " +
                           quoted(text.substr(at, wordEnd - at)) + " is ignored");
        return;
    }
    report.Warning(line, field,
                   "expected " + Expected() + "; the rest of the line (" +
                       quoted(excerpt(text, start, text.size(), start)) + ") is ignored");
}
