#include "scene/Diagnostics.h"

#include <algorithm>

Diagnostics& Diagnostics::Silent() {
    // Inactive, so nothing ever changes it: one instance serves every reader.
    static Diagnostics silent(false);
    return silent;
}

void Diagnostics::LineFetched(const std::string& text) {
    if (!active) return;
    ++line;
    lineText = text;
}

void Diagnostics::Add(Finding::Severity severity, int at, const std::string& field, const std::string& message) {
    if (active) Record(Finding{severity, at, field, message});
}

void Diagnostics::Error(int at, const std::string& field, const std::string& message) {
    Add(Finding::Severity::Error, at, field, message);
}

void Diagnostics::Warning(int at, const std::string& field, const std::string& message) {
    Add(Finding::Severity::Warning, at, field, message);
}

void Diagnostics::Failure(int at, const std::string& field, const std::string& message) {
    if (held != nullptr) held->push_back(Finding{Finding::Severity::Error, at, field, message});
    else Error(at, field, message);
}

bool Diagnostics::FirstEndOfFile() {
    if (endReported) return false;
    endReported = active;
    return true;
}

HeldFailures::HeldFailures(Diagnostics& report_) : report(report_), outer(report_.held) {
    if (report.active) report.held = &failures;
}

HeldFailures::~HeldFailures() {
    if (!report.active) return;
    report.held = outer;
    Release(Finding::Severity::Error, "");
}

void HeldFailures::Release(Finding::Severity severity, const std::string& note) {
    for (const Finding& failure : failures) report.Add(severity, failure.line, failure.field, failure.message + note);
    failures.clear();
}

int FindingList::ErrorCount() const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(), [](const Finding& finding) {
        return finding.severity == Finding::Severity::Error;
    }));
}

std::string ShownValue(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

std::string ShownPoint(double x, double y) { return "(" + ShownValue(x) + ", " + ShownValue(y) + ")"; }
