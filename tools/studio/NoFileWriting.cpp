// The studio writes no files: the page hands the writers' bytes to the
// browser. The file writer's system calls have no WebAssembly build, so the
// writers' file entry points, which the studio never calls, say so.

#include "FileWriting.h"

std::string CannotWrite(const std::string& path, const std::string& reason) {
    return "cannot write " + path + " (" + reason + ")";
}

WriteProblem WriteWholeFile(const std::string& path, std::string_view) {
    return CannotWrite(path, "the studio writes no files");
}

WriteProblem WriteFileGroup(const std::vector<FileToWrite>& files) {
    return CannotWrite(files.empty() ? std::string() : files.back().path, "the studio writes no files");
}
