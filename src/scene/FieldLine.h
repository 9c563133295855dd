#pragma once

#include <istream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

#include "scene/DataLine.h"
#include "scene/Diagnostics.h"

// One line of a data file, read value by value under the name of what it
// holds ("shadow plane normal"). Every value that fails counts 1, exactly as
// readValue counts it. When the report is active the line also says, once
// and at its end, what it should have held and what it held, and readers
// warn through it about values they replace.
class FieldLine {
public:
    // Reads on from a stream over the line the report fetched last (a glyph
    // line, the font header), from where that stream stands.
    struct Continuing {};
    // Reads a line the caller has fetched already (the rest of a line),
    // which belongs to the line the report fetched last.
    struct Fetched {};

    // Fetches the next significant line of file. names, when given, name the
    // values in order (a null-terminated list) for the messages.
    FieldLine(std::istream& file, Diagnostics& report, std::string_view field, const char* const* names = nullptr);
    FieldLine(Continuing, std::istream& values, Diagnostics& report, std::string_view field,
              const char* const* names = nullptr);
    FieldLine(Fetched, const std::string& text, Diagnostics& report, std::string_view field,
              const char* const* names = nullptr);
    ~FieldLine();
    FieldLine(const FieldLine&) = delete;
    FieldLine& operator=(const FieldLine&) = delete;

    template <typename T>
    int Read(T& value) {
        if (!report.Active()) return readValue(in, value);
        const std::streamoff before = Position();
        const int failed = readValue(in, value);
        Count(failed != 0, before, std::is_integral_v<T>);
        return failed;
    }
    template <typename T, typename... More>
    int Read(T& first, More&... more) {
        const int failed = Read(first);
        return failed + Read(more...);
    }

    bool Reporting() const { return report.Active(); }
    // How many values have read so far (the ones before the first failure),
    // and how many were asked for.
    int Found() const { return found; }
    int Values() const { return expected; }
    // Warns that the reader replaced a value of this line (unless a value
    // of the line failed: that is said instead).
    void Replaced(const std::string& message);
    // Replaces value, the index-th of the line, by replacement when outside
    // is true, and warns "<name> <value> <why> and becomes <replacement>"
    // when that value did read.
    template <typename T, typename U>
    void Limit(T& value, bool outside, U replacement, int index, const char* why) {
        if (!outside) return;
        if (Reporting() && index < found)
            ReplacedValue(index, static_cast<double>(value), why, static_cast<double>(replacement),
                          std::is_floating_point_v<T>);
        value = static_cast<T>(replacement);
    }
    // The name the constructor was given for the index-th value, or "value n".
    std::string ValueName(int index) const;
    // That name and a space to begin a message with, or nothing when the
    // field says it already ("material 0 shininess").
    std::string Subject(int index) const;
    // Says that whatever follows the values read is the reader's own
    // business, or that it is not (see the constructors).
    void CheckRest(bool check) { checkRest = check; }
    std::istream& Stream() { return in; }
    int Number() const { return line; }
    // Where the stream stands, without touching its state.
    std::streamoff Position() const;

private:
    void Count(bool failed, std::streamoff before, bool integral);
    void ReportFailure();
    void ReportRest();
    struct FetchedLine {
        std::string text;
        bool fileEnded = false;  // nothing was left to fetch
    };
    static FetchedLine Fetch(std::istream& file, Diagnostics& report);
    FieldLine(FetchedLine fetched, Diagnostics& report, std::string_view field, const char* const* names);
    std::string Text() const;
    std::string Expected() const;
    void ReplacedValue(int index, double value, const char* why, double replacement, bool floating);

    std::optional<std::istringstream> owned;  // a line of its own, not a stream read on
    std::istream& in;
    Diagnostics& report;
    std::string field;
    const char* const* names;
    int line;
    bool endOfFile = false;
    bool checkRest;
    std::streamoff quoteFrom;
    int expected = 0;
    int found = 0;
    bool allIntegral = true;
    unsigned long long integralValues = 0;  // bit i: value i is an integer
    int failedValue = -1;  // index of the first value that did not read
    // Where the stream's text begins on the file's line, for the values'
    // places; -1 when that is not known.
    std::streamoff lineOffset = 0;
    std::streamoff failedAt = -1;
};
