// logo3d-export: writes a logo, as the viewer draws it, into a mesh file, a
// print's solid or a web page. The export itself is ExportLogo's, in
// memory; this reads the data files, writes what it returns, and says so.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <sstream>

#include "ExportMemory.h"
#include "ExportOptions.h"
#include "FileWriting.h"
#include "scene/GuardedMain.h"
#include "solid/OpenVdbGrid.h"
#include "text/DataFileLoading.h"

namespace {

// The studio's grid: at most this many voxels across a print.
constexpr int kStudioGridSteps = 320;

// True when the file written is the standard output itself (-o /dev/stdout):
// the report then goes to the standard error stream, off the data.
bool isStandardOutput(const std::string& path) {
    struct stat file, output;
    return stat(path.c_str(), &file) == 0 && fstat(STDOUT_FILENO, &output) == 0 && file.st_dev == output.st_dev &&
           file.st_ino == output.st_ino;
}

DataFileText readText(const std::string& file, const char* what) {
    DataFileText out{file};
    std::ostringstream problem;
    out.read = ReadDataFileOrReport(file, what, out.text, problem);
    out.problem = problem.str();
    if (!out.problem.empty() && out.problem.back() == '\n') out.problem.pop_back();
    return out;
}

LogoTexts readTexts(const ExportOptions& options) {
    LogoTexts texts;
    texts.font = readText(options.fontFile, "font");
    texts.environment = readText(options.envFile, "environment");
    texts.string = readText(options.stringFile, "string");
    return texts;
}

WriteProblem writeFiles(const ExportedFiles& files) {
    if (files.size() == 1) return WriteWholeFile(files.front().name, files.front().bytes);
    std::vector<FileToWrite> group;
    for (const ExportedFile& file : files) group.push_back({file.name, file.bytes});
    return WriteFileGroup(group);
}

int run(int argc, char** argv) {
    const ExportOptions options = ParseExportOptions(argc, argv);
    if (!options.ready) return options.exitCode;
    ExportSettings settings = options.settings;
    settings.checkFiles = !options.quiet;
    settings.grid = MakeOpenVdbGrid;
    if (options.grid == "dense") {
        settings.grid = MakeDenseGrid;
        settings.print.maxSteps = kStudioGridSteps;
    }
    const ExportResult result = ExportLogo(readTexts(options), settings);
    for (const std::string& note : result.notes) std::cerr << note << '\n';
    std::cerr.flush();
    if (result.status != 0) {
        std::cerr << result.problem << std::endl;
        return result.status;
    }
    const WriteProblem problem = writeFiles(result.files);
    if (!problem.empty()) {
        std::cerr << problem << std::endl;
        return 1;
    }
    std::FILE* out = isStandardOutput(settings.output) ? stderr : stdout;
    for (const std::string& line : result.report) std::fprintf(out, "%s\n", line.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    KeepFreedMemory();
    return RunGuarded("logo3d-export", [&] { return run(argc, argv); });
}
