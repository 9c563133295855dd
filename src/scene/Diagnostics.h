#pragma once

#include <sstream>
#include <string>
#include <vector>

// One thing a reader found wrong with a data file. An error is a value that
// did not read (the reader counts it); a warning is a value the program
// replaced, or part of the file it passed over, without a word. Line 0: the
// finding belongs to no single line.
struct Finding {
    enum class Severity { Error, Warning };
    Severity severity = Severity::Error;
    int line = 0;
    std::string field;    // what the line holds, such as "light 0 diffuse"
    std::string message;  // what was expected and found, or what was replaced
};

// Where one value that read stands on its line, for an editor that shows
// what each number is: bytes [from, to) of the line's text.
struct ValueSpan {
    int line = 0;
    int from = 0, to = 0;
    std::string field;  // what the line holds, such as "light 0 diffuse"
    std::string name;   // which of its values this is, such as "red"
};

// Where the readers say what they found. The viewer's readers get Silent(),
// which keeps no line count and builds no text, so reading costs what it
// always did; the checker gives a FindingList. Every line a reader takes from
// the file passes through the line fetcher, which counts it here, so a
// finding knows its line.
class Diagnostics {
public:
    static Diagnostics& Silent();
    virtual ~Diagnostics() = default;
    Diagnostics(const Diagnostics&) = delete;
    Diagnostics& operator=(const Diagnostics&) = delete;

    bool Active() const { return active; }

    // Called by the line fetcher for every line it takes, comments included,
    // and for every significant line it hands on.
    void LineFetched(const std::string& text);
    void SignificantLineFetched() { significantLines += active ? 1 : 0; }
    // The number (from 1) and text of the line fetched last.
    int Line() const { return line; }
    const std::string& LineText() const { return lineText; }
    // How many significant lines have been fetched so far.
    int SignificantLines() const { return significantLines; }

    void Error(int line, const std::string& field, const std::string& message);
    void Warning(int line, const std::string& field, const std::string& message);
    // A value that did not read: an error, unless a HeldFailures holds it
    // back for the part of the file being read.
    void Failure(int line, const std::string& field, const std::string& message);
    // True the first time only: once the file has ended, every later read
    // meets its end too, and one finding says so.
    bool FirstEndOfFile();
    // Only a report that keeps the values' places hears of them: the others
    // pay nothing for them.
    bool WantsValues() const { return wantsValues; }
    void ValueRead(const ValueSpan& span) {
        if (wantsValues) RecordValue(span);
    }

protected:
    explicit Diagnostics(bool active_) : active(active_) {}
    virtual void Record(Finding) {}
    virtual void RecordValue(const ValueSpan&) {}
    bool wantsValues = false;

private:
    friend class HeldFailures;
    void Add(Finding::Severity severity, int line, const std::string& field, const std::string& message);

    bool active;
    int line = 0;
    int significantLines = 0;
    std::string lineText;
    bool endReported = false;
    std::vector<Finding>* held = nullptr;
};

// While it lives, values that fail to read are held back, until Release
// says what they weigh: for the parts of a file whose failures count only
// by what follows them (a light is used when the file goes on after it).
class HeldFailures {
public:
    explicit HeldFailures(Diagnostics& report);
    // Whatever is still held goes out as errors.
    ~HeldFailures();
    HeldFailures(const HeldFailures&) = delete;
    HeldFailures& operator=(const HeldFailures&) = delete;

    bool Empty() const { return failures.empty(); }
    // Reports the failures held so far, each followed by note.
    void Release(Finding::Severity severity, const std::string& note);
    // Forgets them: they were no failures after all.
    void Drop() { failures.clear(); }

private:
    Diagnostics& report;
    std::vector<Finding>* outer;
    std::vector<Finding> failures;
};

// Keeps every finding, in the order the readers report them.
class FindingList : public Diagnostics {
public:
    FindingList() : Diagnostics(true) {}
    const std::vector<Finding>& Findings() const { return findings; }

protected:
    void Record(Finding finding) override { findings.push_back(std::move(finding)); }

private:
    std::vector<Finding> findings;
};

// The findings in the order of the file: by line, and as reported within one.
std::vector<Finding> InLineOrder(std::vector<Finding> findings);
// The error on the earliest line, or null.
const Finding* FirstError(const std::vector<Finding>& findings);
// "string.src:41", or the file alone for line 0: where a finding stands.
std::string FindingPlace(const std::string& file, int line);

// The parts joined into a field name ("light ", 2, " diffuse") when report is
// active, and nothing otherwise: the silent readers build no names.
template <typename... Parts>
std::string FieldName(const Diagnostics& report, const Parts&... parts) {
    if (!report.Active()) return {};
    std::ostringstream name;
    (name << ... << parts);
    return name.str();
}

// How values are shown in messages: numbers as a file would write them,
// points as "(x, y)".
std::string ShownValue(double value);
std::string ShownPoint(double x, double y);
// text with every byte outside printable ASCII written as \xNN, so that a
// message about a damaged file is still one clean line.
std::string Printable(const std::string& text);
