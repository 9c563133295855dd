#include "scene/Diagnostics.h"

#include <utf8proc.h>

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

std::vector<Finding> InLineOrder(std::vector<Finding> findings) {
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return findings;
}

const Finding* FirstError(const std::vector<Finding>& findings) {
    const Finding* first = nullptr;
    for (const Finding& finding : findings)
        if (finding.severity == Finding::Severity::Error && (first == nullptr || finding.line < first->line))
            first = &finding;
    return first;
}

std::string FindingPlace(const std::string& file, int line) {
    return line > 0 ? file + ":" + std::to_string(line) : file;
}

std::string ShownValue(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

std::string Printable(const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string shown;
    shown.reserve(text.size());
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned byte = bytes[i];
        if (byte >= 0x20 && byte < 0x7f) {
            shown.push_back(text[i++]);
            continue;
        }
        // A character of UTF-8 beyond the controls is shown as it is.
        utf8proc_int32_t code = -1;
        const utf8proc_ssize_t used =
            byte >= 0x80 ? utf8proc_iterate(bytes + i, static_cast<utf8proc_ssize_t>(text.size() - i), &code) : 0;
        if (used > 1 && code >= 0xA0) {
            shown.append(text, i, static_cast<std::size_t>(used));
            i += static_cast<std::size_t>(used);
            continue;
        }
        shown += "\\x";
        shown.push_back(kHex[byte >> 4]);
        shown.push_back(kHex[byte & 15]);
        ++i;
    }
    return shown;
}

std::string ShownPoint(double x, double y) { return "(" + ShownValue(x) + ", " + ShownValue(y) + ")"; }
