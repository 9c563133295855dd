// A folder whose files appear at once: filled as a temporary folder beside
// the target and moved in by Commit().

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <set>

#include "FileWriting.h"
#include "WritingShared.h"

using namespace file_writing;

PendingFolder::PendingFolder(const std::string& target, const std::string& reportAs)
    : target_(target), reportAs_(reportAs) {
    while (target_.size() > 1 && target_.back() == '/') target_.pop_back();
    struct stat status;
    if (target_.empty()) {
        problem_ = CannotWrite("''", "no folder name");
        done_ = true;
        return;
    }
    if (stat(target_.c_str(), &status) == 0 && !S_ISDIR(status.st_mode)) {
        problem_ = CannotWrite(target_, Reason(ENOTDIR));
        done_ = true;
        return;
    }
    const std::string real = FollowLinks(target_);
    std::string pattern = Joined(FolderOf(real), "." + NameOf(real) + "-XXXXXX");
    if (mkdtemp(&pattern[0]) == nullptr) {
        problem_ = CannotWrite(reportAs_.empty() ? target_ : reportAs_, Reason(errno));
        done_ = true;
        return;
    }
    writePath_ = pattern;
    slot_ = RemoveOnInterrupt(writePath_, Leftover::Folder);
}

PendingFolder::~PendingFolder() {
    if (done_) return;
    std::error_code ignored;
    std::filesystem::remove_all(writePath_, ignored);
    ForgetOnInterrupt(slot_);
}

WriteProblem PendingFolder::WriteFile(const std::string& name, std::string_view bytes) {
    if (!problem_.empty()) return problem_;
    const std::string path = Joined(writePath_, name);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, CreationMode());
    int error = fd < 0 ? errno : WriteAll(fd, bytes);
    if (error == 0 && FlushToDisk(fd) != 0) error = errno;
    if (fd >= 0 && close(fd) != 0 && error == 0) error = errno;
    if (error == 0) return {};
    unlink(path.c_str());
    return CannotWrite(reportAs_.empty() ? Joined(target_, name) : reportAs_, Reason(error));
}

WriteProblem PendingFolder::Commit(const std::function<bool(const std::string& name)>& stale) {
    if (!problem_.empty() || done_) return problem_;
    namespace fs = std::filesystem;
    std::error_code error;
    auto fail = [this](const std::string& why) {
        problem_ = CannotWrite(target_, why);
        return problem_;
    };
    struct stat status;
    if (stat(target_.c_str(), &status) != 0) {
        // A new folder: the whole temporary folder becomes it.
        chmod(writePath_.c_str(), FolderMode());
        if (rename(writePath_.c_str(), FollowLinks(target_).c_str()) != 0) return fail(Reason(errno));
        FlushFolder(FolderOf(FollowLinks(target_)));
        ForgetOnInterrupt(slot_);
        done_ = true;
        return {};
    }
    std::set<std::string> written;
    for (const fs::directory_entry& entry : fs::directory_iterator(writePath_, error))
        written.insert(entry.path().filename().string());
    if (error) return fail(error.message());
    for (const std::string& name : written)
        if (rename(Joined(writePath_, name).c_str(), Joined(target_, name).c_str()) != 0) return fail(Reason(errno));
    std::vector<fs::path> old;
    for (const fs::directory_entry& entry : fs::directory_iterator(target_, error)) {
        const std::string name = entry.path().filename().string();
        if (written.count(name) == 0 && stale(name)) old.push_back(entry.path());
    }
    for (const fs::path& path : old) fs::remove(path, error);
    rmdir(writePath_.c_str());
    ForgetOnInterrupt(slot_);
    done_ = true;
    FlushFolder(target_);
    return {};
}
