#include "text/DataFileLoading.h"

#include <sstream>

#include "scene/DataFile.h"
#include "scene/Diagnostics.h"
#include "scene/Environment.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

namespace {

// "string.src:41: shadow plane normal": where a string file that failed to
// load fails first. Only a failed load pays for reading the file again, this
// time with a report.
std::string firstFailure(const std::string& file, const std::string& text) {
    FindingList findings;
    LogoString again;
    std::istringstream in(text);
    again.Read(in, findings);
    const Finding* first = FirstError(findings.Findings());
    return first != nullptr ? FindingPlace(file, first->line) + ": " + Printable(first->field) : file;
}

}  // namespace

bool ReadDataFileOrReport(const std::string& file, const char* what, std::string& text, std::ostream& errors) {
    DataFile data = ReadDataFile(file);
    switch (data.status) {
    case DataFile::Status::Read:
        text = std::move(data.text);
        return true;
    case DataFile::Status::CannotOpen:
        errors << "cannot open " << what << " file : " << file << std::endl;
        return false;
    case DataFile::Status::CannotRead:
        break;
    }
    errors << "cannot read " << what << " file : " << file << " (" << data.reason << ")" << std::endl;
    return false;
}

bool LoadFont(const std::string& file, StrokeFontCharacterSet& target, std::ostream& errors) {
    std::string text;
    if (!ReadDataFileOrReport(file, "font", text, errors)) return false;
    std::istringstream in(text);
    target.Load(in);
    return true;
}

bool LoadEnvironment(const std::string& file, Environment& target, std::ostream& errors) {
    std::string text;
    if (!ReadDataFileOrReport(file, "environment", text, errors)) return false;
    std::istringstream in(text);
    if (target.Read(in) == 0) return true;
    errors << "error occurs while loading environment file : " << file << std::endl;
    return false;
}

bool LoadLogoString(const std::string& file, LogoString& target, std::ostream& errors) {
    std::string text;
    if (!ReadDataFileOrReport(file, "string", text, errors)) return false;
    std::istringstream in(text);
    if (target.Read(in) != 0) {
        errors << "error occurs while loading string file : " << firstFailure(file, text) << std::endl;
        return false;
    }
    for (const std::string& line : target.DroppedLines())
        errors << "warning: " << file << " : line dropped, the text would reach " << LogoString::kMaxTextLength
               << " characters : " << line << std::endl;
    return true;
}
