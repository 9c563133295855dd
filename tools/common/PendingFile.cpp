// A file written whole or not at all: a temporary file beside the target,
// renamed over it once every byte is on disk.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "FileWriting.h"
#include "WritingShared.h"

using namespace file_writing;

PendingFile::PendingFile(const std::string& target) : target_(target) {
    if (target.empty()) {
        problem_ = CannotWrite("''", "no file name");
        done_ = true;
        return;
    }
    struct stat status;
    const bool exists = stat(target.c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode)) {
        problem_ = CannotWrite(target, Reason(EISDIR));
        done_ = true;
        return;
    }
    if ((exists && !S_ISREG(status.st_mode)) || IsSystemPath(target)) {
        direct_ = true;
        writePath_ = finalPath_ = target;
        return;
    }
    finalPath_ = FollowLinks(target);
    // The temporary name keeps the extension, for programs that go by it.
    const std::string name = NameOf(finalPath_);
    const std::size_t dot = name.find_last_of('.');
    const std::string extension = dot == std::string::npos || dot == 0 ? "" : name.substr(dot);
    const std::string stem = name.substr(0, name.size() - extension.size());
    std::string pattern = Joined(FolderOf(finalPath_), "." + stem + "-XXXXXX" + extension);
    fd_ = mkstemps(&pattern[0], static_cast<int>(extension.size()));
    if (fd_ < 0) {
        problem_ = CannotWrite(target, Reason(errno));
        done_ = true;
        return;
    }
    writePath_ = pattern;
    slot_ = RemoveOnInterrupt(writePath_, Leftover::File);
    mode_ = exists ? (status.st_mode & 07777) : CreationMode();
    fchmod(fd_, mode_);
}

PendingFile::~PendingFile() {
    if (!done_) discard();
}

void PendingFile::discard() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!direct_ && !done_ && !writePath_.empty()) unlink(writePath_.c_str());
    ForgetOnInterrupt(slot_);
    done_ = true;
}

WriteProblem PendingFile::Fail(const std::string& why) {
    if (problem_.empty()) problem_ = CannotWrite(target_, why);
    if (!done_) discard();
    return problem_;
}

WriteProblem PendingFile::Write(std::string_view bytes) {
    if (!problem_.empty()) return problem_;
    if (fd_ < 0) {
        fd_ = open(writePath_.c_str(), O_WRONLY | (direct_ ? O_TRUNC : 0));
        if (fd_ < 0) return Fail(Reason(errno));
    }
    const int error = WriteAll(fd_, bytes);
    return error == 0 ? WriteProblem() : Fail(Reason(error));
}

WriteProblem PendingFile::Finish() {
    if (!problem_.empty() || done_) return problem_;
    if (direct_) {
        if (fd_ >= 0 && close(fd_) != 0) {
            fd_ = -1;
            return Fail(Reason(errno));
        }
        fd_ = -1;
        return {};
    }
    // An external program may have put a new file at the path: flush what is there now.
    if (fd_ >= 0 && close(fd_) != 0) {
        fd_ = -1;
        return Fail(Reason(errno));
    }
    fd_ = open(writePath_.c_str(), O_RDONLY);
    if (fd_ < 0) return Fail(Reason(errno));
    if (FlushToDisk(fd_) != 0) return Fail(Reason(errno));
    fchmod(fd_, mode_);  // again, for a file the program made anew
    const int closed = close(fd_);
    fd_ = -1;
    if (closed != 0) return Fail(Reason(errno));
    return {};
}

WriteProblem PendingFile::Rename() {
    if (!problem_.empty() || done_) return problem_;
    if (!direct_) {
        if (rename(writePath_.c_str(), finalPath_.c_str()) != 0) return Fail(Reason(errno));
        FlushFolder(FolderOf(finalPath_));
    }
    ForgetOnInterrupt(slot_);
    done_ = true;
    return {};
}

WriteProblem PendingFile::Commit() {
    const WriteProblem finished = Finish();
    return finished.empty() ? Rename() : finished;
}

WriteProblem WriteWholeFile(const std::string& path, std::string_view bytes) {
    PendingFile file(path);
    const WriteProblem problem = file.Write(bytes);
    return problem.empty() ? file.Commit() : problem;
}
