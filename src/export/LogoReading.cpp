#include "LogoReading.h"

#include <sstream>

#include "text/DataFileWarnings.h"
#include "text/FileCheck.h"
#include "text/TextStringFile.h"

namespace {

// The checker's report that also keeps where each value stands.
class ValueReport : public FindingList {
public:
    ValueReport(std::vector<ValuePlace>* values_, int file_) : values(values_), file(file_) {
        wantsValues = values != nullptr;
    }

protected:
    void RecordValue(const ValueSpan& span) override { values->push_back({file, span}); }

private:
    std::vector<ValuePlace>* values;
    int file;
};

// The checker's warnings, at most twenty and how many more, as every tool
// that reads the files says them.
std::vector<std::string> warningLines(const std::vector<FileFindings>& findings) {
    std::vector<std::string> lines;
    for (const FileFindings& f : findings)
        for (const Finding& finding : f.findings)
            if (finding.severity == Finding::Severity::Warning) lines.push_back(FormatFinding(f.file, finding));
    std::ostringstream limited;
    PrintWarnings(lines, limited);
    std::vector<std::string> out;
    std::istringstream printed(limited.str());
    for (std::string line; std::getline(printed, line);) out.push_back(line);
    return out;
}

// "string.src:41: shadow plane normal": where a string file that failed
// to load fails first.
std::string firstFailure(const std::string& file, const std::vector<Finding>& findings) {
    const Finding* first = FirstError(findings);
    return first != nullptr ? FindingPlace(file, first->line) + ": " + Printable(first->field) : file;
}

class Reader {
public:
    Reader(LogoReading& out, bool valuePlaces) : out_(out), values_(valuePlaces ? &out.values : nullptr) {}

    void Font(const DataFileText& file) {
        if (!file.read) return;
        ValueReport report(values_, 0);
        std::istringstream in(file.text);
        out_.font.Load(in, report);
        out_.findings.push_back({file.name, InLineOrder(report.Findings())});
    }

    int Environment(const DataFileText& file) {
        if (!file.read) return 0;
        ValueReport report(values_, 1);
        std::istringstream in(file.text);
        const int failures = out_.environment.Read(in, report);
        out_.findings.push_back({file.name, InLineOrder(report.Findings())});
        return failures;
    }

    // The checker's findings (the glyphs looked up only in a font that read)
    // and, unless the logo is another text's, the logo, read again with the
    // values' places.
    int String(const DataFileText& file, bool fontRead, bool logoFromFile) {
        if (!file.read) return 0;
        out_.findings.push_back({file.name, CheckStringFile(file.text, fontRead ? &out_.font : nullptr)});
        if (!logoFromFile) return 0;
        ValueReport report(values_, 2);
        std::istringstream in(file.text);
        return out_.logo.Read(in, report);
    }

private:
    LogoReading& out_;
    std::vector<ValuePlace>* values_;
};

// The loaders' verdict, in the viewer's order: the first file that does not
// read or load stops it.
bool loaded(LogoReading& out, const LogoTexts& texts, int environmentFailures, int stringFailures,
            const std::string& text) {
    for (const DataFileText* file : {&texts.font, &texts.environment})
        if (!file->read) return out.problem = file->problem, false;
    if (environmentFailures != 0)
        return out.problem = "error occurs while loading environment file : " + texts.environment.name, false;
    if (!text.empty()) {
        std::istringstream in(StringFileForText(text));
        if (out.logo.Read(in) != 0) return out.problem = "cannot lay out the text: " + text, false;
        return true;
    }
    if (!texts.string.read) return out.problem = texts.string.problem, false;
    if (stringFailures != 0)
        return out.problem = "error occurs while loading string file : " +
                             firstFailure(texts.string.name, out.findings.back().findings),
               false;
    for (const std::string& line : out.logo.DroppedLines())
        out.notes.push_back("warning: " + texts.string.name + " : line dropped, the text would reach " +
                            std::to_string(LogoString::kMaxTextLength) + " characters : " + line);
    return true;
}

}  // namespace

std::unique_ptr<LogoReading> ReadLogo(const LogoTexts& texts, const std::string& text, bool checkFiles,
                                      bool valuePlaces) {
    auto out = std::make_unique<LogoReading>();
    out->stringName = texts.string.name;
    Reader reader(*out, valuePlaces);
    reader.Font(texts.font);
    const int environmentFailures = reader.Environment(texts.environment);
    const int stringFailures = reader.String(texts.string, texts.font.read, text.empty());
    if (checkFiles) out->notes = warningLines(out->findings);
    if (!text.empty() && texts.font.read)
        for (const std::string& line : TextWarnings(text, out->font)) out->notes.push_back(line);
    out->ready = loaded(*out, texts, environmentFailures, stringFailures, text);
    return out;
}
