// Files that belong together appear together or not at all: each is written
// as a pending file, and only when all are on disk are they renamed into
// place, the one that names the others last. The partners' old files are
// kept under second names until then, to be put back if a rename fails.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "FileWriting.h"
#include "WritingShared.h"

using namespace file_writing;

namespace {

// A partner's old file, kept under a second name (empty when there was none).
struct KeptPartner {
    std::string partner;
    std::string old;
    int slot = -1;
};

KeptPartner keepOld(const std::string& partner) {
    KeptPartner kept;
    kept.partner = FollowLinks(partner);
    struct stat status;
    if (stat(kept.partner.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return kept;
    std::string pattern = Joined(FolderOf(kept.partner), "." + NameOf(kept.partner) + "-old-XXXXXX");
    const int fd = mkstemp(&pattern[0]);
    if (fd < 0) return kept;
    close(fd);
    unlink(pattern.c_str());
    if (link(kept.partner.c_str(), pattern.c_str()) != 0) return kept;
    kept.old = pattern;
    kept.slot = RemoveOnInterrupt(pattern, Leftover::File);
    return kept;
}

// The first `count` partners as they were: old files back, new ones gone.
void restore(const std::vector<KeptPartner>& kept, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (!kept[i].old.empty()) rename(kept[i].old.c_str(), kept[i].partner.c_str());
        else unlink(kept[i].partner.c_str());
    }
}

void forget(std::vector<KeptPartner>& kept) {
    for (KeptPartner& k : kept) {
        if (!k.old.empty()) unlink(k.old.c_str());
        ForgetOnInterrupt(k.slot);
    }
}

}  // namespace

WriteProblem WriteFileGroup(const std::vector<FileToWrite>& files) {
    std::vector<std::unique_ptr<PendingFile>> pending;
    for (const FileToWrite& file : files) {
        pending.push_back(std::make_unique<PendingFile>(file.path));
        PendingFile& p = *pending.back();
        WriteProblem problem = p.Write(file.bytes);
        if (problem.empty()) problem = p.Finish();
        if (!problem.empty()) return problem;
    }
    std::vector<KeptPartner> kept;
    for (std::size_t i = 0; i + 1 < pending.size(); ++i) kept.push_back(keepOld(files[i].path));
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const WriteProblem problem = pending[i]->Rename();
        if (!problem.empty()) {
            restore(kept, i);
            forget(kept);
            return problem;
        }
    }
    forget(kept);
    return {};
}
