#pragma once

// The one way the tools write files: whole or not at all.
//
// Bytes go to a temporary file in the target's folder (its name keeps the
// target's extension), every write and the close are checked, the file is
// flushed to disk and only then renamed over the target. On any failure the
// temporary file is removed, the old target stays as it was, and the
// problem is one line: "cannot write FILE (REASON)". A target that is a
// symbolic link is written through (the link stays a link), an old file's
// permissions are kept, and a target that is not a regular file (a pipe,
// /dev/stdout) is written directly. Temporary files and folders are removed
// on SIGINT and SIGTERM too.
//
// Links no GL: the web build reuses it.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Empty on success, else the one line to show.
using WriteProblem = std::string;

// "cannot write FILE (REASON)".
std::string CannotWrite(const std::string& path, const std::string& reason);

// Writes the bytes as the file at path.
WriteProblem WriteWholeFile(const std::string& path, std::string_view bytes);

struct FileToWrite {
    std::string path;
    std::string bytes;
};

// Files that belong together (.gltf and its .bin, .obj and its .mtl) appear
// together or not at all. The first ones are the partners, the last names
// them and is put in place last, so that a reader never finds a file whose
// partner is missing; if it fails, the partners' old files are put back.
WriteProblem WriteFileGroup(const std::vector<FileToWrite>& files);

// A file that a writer fills itself, through WritePath() (for an external
// program) or Write(). Destroyed without Commit(), it leaves nothing behind.
class PendingFile {
public:
    explicit PendingFile(const std::string& target);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Not empty when no temporary file could be made (nothing to write then).
    const WriteProblem& Problem() const { return problem_; }
    const std::string& Target() const { return target_; }
    // Where the bytes go: the temporary file, or the target itself when it
    // is not a regular file.
    const std::string& WritePath() const { return writePath_; }

    // Appends bytes; a failure is kept and returned by Commit() too.
    WriteProblem Write(std::string_view bytes);
    // Checks, flushes to disk and puts the file in place.
    WriteProblem Commit();
    // Gives up: removes the temporary file, returns "cannot write TARGET (reason)".
    WriteProblem Fail(const std::string& reason);

    // Two steps of Commit(), for groups: flush and close; then the rename.
    WriteProblem Finish();
    WriteProblem Rename();

private:
    void discard();

    std::string target_;      // as the user named it
    std::string finalPath_;   // the target with symbolic links followed
    std::string writePath_;
    WriteProblem problem_;
    int fd_ = -1;
    unsigned mode_ = 0;       // the old file's permissions, or a new file's
    int slot_ = -1;           // in the interrupt clean-up table
    bool direct_ = false;     // not a regular file: written in place
    bool done_ = false;
};

// A folder whose files appear at once (the frames of an animation): made as
// a temporary folder beside the target folder and moved in by Commit().
class PendingFolder {
public:
    // reportAs: the name problems give instead of the folder's (for a
    // scratch folder that serves another file).
    explicit PendingFolder(const std::string& target, const std::string& reportAs = "");
    ~PendingFolder();
    PendingFolder(const PendingFolder&) = delete;
    PendingFolder& operator=(const PendingFolder&) = delete;

    const WriteProblem& Problem() const { return problem_; }
    const std::string& WritePath() const { return writePath_; }

    // Writes one file of the folder (checked writes, flushed, checked close);
    // a problem names the file as it will be in the target folder.
    WriteProblem WriteFile(const std::string& name, std::string_view bytes);

    // Moves every file of the temporary folder into the target folder (made
    // when missing). Files of the target folder that were not written now
    // and that `stale` names are removed: the frames of an earlier, longer run.
    WriteProblem Commit(const std::function<bool(const std::string& name)>& stale);

private:
    std::string target_;
    std::string reportAs_;
    std::string writePath_;
    WriteProblem problem_;
    int slot_ = -1;
    bool done_ = false;
};

// Seconds spent flushing files to disk so far (for the benchmark).
double FileFlushSeconds();
