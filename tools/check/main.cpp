// logo3d-check: reads the three data files with the viewer's own readers and
// says, compiler style, where each one fails to read and where the viewer
// would quietly replace or pass over what it holds.

#include <iostream>
#include <vector>

#include "CheckOptions.h"
#include "text/FileCheck.h"
#include "scene/GuardedMain.h"
#include "text/DataFileLoading.h"
#include "text/StrokeCharacterSet.h"

namespace {

// Prints the findings (errors only when quiet); true when none is an error.
bool print(const std::string& file, const std::vector<Finding>& findings, bool quiet) {
    bool clean = true;
    for (const Finding& finding : findings) {
        const bool error = finding.severity == Finding::Severity::Error;
        clean = clean && !error;
        if (error || !quiet) std::cout << FormatFinding(file, finding) << '\n';
    }
    return clean;
}

int run(int argc, char** argv) {
    const CheckOptions options = ParseCheckOptions(argc, argv);
    if (!options.ready) return options.exitCode;
    bool clean = true;
    std::string text;

    StrokeFontCharacterSet font;
    const bool fontRead = ReadDataFileOrReport(options.fontFile, "font", text, std::cout);
    if (fontRead) clean = print(options.fontFile, CheckFont(text, font), options.quiet) && clean;
    else clean = false;

    if (ReadDataFileOrReport(options.envFile, "environment", text, std::cout))
        clean = print(options.envFile, CheckEnvironment(text), options.quiet) && clean;
    else clean = false;

    if (!options.text.empty()) {
        if (fontRead && !options.quiet)
            for (const std::string& line : TextWarnings(options.text, font)) std::cout << line << '\n';
    } else if (ReadDataFileOrReport(options.stringFile, "string", text, std::cout))
        clean = print(options.stringFile, CheckStringFile(text, fontRead ? &font : nullptr), options.quiet) && clean;
    else clean = false;

    std::cout.flush();
    return clean ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuarded("logo3d-check", [&] { return run(argc, argv); });
}
