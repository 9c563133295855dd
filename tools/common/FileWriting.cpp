#include "FileWriting.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>

namespace {

// ---- Temporary paths to remove when the process is interrupted ----------
//
// The signal handler may only make system calls, so the table is fixed and
// the paths are plain character arrays.

enum SlotKind : int { kFree = 0, kClaimed = -1, kFile = 1, kFolder = 2 };

struct CleanupSlot {
    std::atomic<int> kind{kFree};
    char path[4096];
};

constexpr int kSlotCount = 64;
CleanupSlot cleanupSlots[kSlotCount];

struct LinuxDirent64 {
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[1];
};

// Removes a flat folder and its files with system calls alone.
void removeFolderFromHandler(const char* path) {
    for (int pass = 0; pass < 8; ++pass) {
        const int folder = open(path, O_RDONLY | O_DIRECTORY);
        if (folder < 0) return;
        alignas(8) char buffer[8192];
        bool removed = false;
        long got;
        while ((got = syscall(SYS_getdents64, folder, buffer, sizeof buffer)) > 0)
            for (long at = 0; at < got;) {
                const LinuxDirent64* entry = reinterpret_cast<const LinuxDirent64*>(buffer + at);
                const char* name = entry->d_name;
                if (!(name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))))
                    removed = unlinkat(folder, name, 0) == 0 || removed;
                at += entry->d_reclen;
            }
        close(folder);
        if (rmdir(path) == 0 || !removed) return;
    }
}

void onInterrupt(int signal) {
    for (CleanupSlot& slot : cleanupSlots) {
        const int kind = slot.kind.load();
        if (kind == kFile) unlink(slot.path);
        else if (kind == kFolder) removeFolderFromHandler(slot.path);
    }
    // End as the signal would have ended the process.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
    raise(signal);
}

void installInterruptHandlers() {
    static const bool installed = [] {
        for (int signal : {SIGINT, SIGTERM}) {
            struct sigaction previous {};
            sigaction(signal, nullptr, &previous);
            if (previous.sa_handler == SIG_IGN) continue;  // a caller that ignores it keeps ignoring it
            struct sigaction action {};
            action.sa_handler = onInterrupt;
            sigemptyset(&action.sa_mask);
            sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

int registerCleanup(const std::string& path, SlotKind kind) {
    if (path.size() >= sizeof cleanupSlots[0].path) return -1;
    installInterruptHandlers();
    for (int i = 0; i < kSlotCount; ++i) {
        int expected = kFree;
        if (!cleanupSlots[i].kind.compare_exchange_strong(expected, kClaimed)) continue;
        std::memcpy(cleanupSlots[i].path, path.c_str(), path.size() + 1);
        cleanupSlots[i].kind.store(kind);
        return i;
    }
    return -1;
}

void unregisterCleanup(int& slot) {
    if (slot >= 0) cleanupSlots[slot].kind.store(kFree);
    slot = -1;
}

// ---- Paths ---------------------------------------------------------------

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The file a chain of symbolic links ends at (which need not exist yet).
std::string followLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status;
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        std::string link(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 4095) + 1, '\0');
        const ssize_t length = readlink(path.c_str(), &link[0], link.size());
        if (length <= 0) return path;
        link.resize(static_cast<std::size_t>(length));
        path = link[0] == '/' ? link : joined(folderOf(path), link);
    }
    return path;
}

// The process's file mode mask (reading it means setting it; the tools
// write from one thread).
mode_t userMask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// What a new file or folder would get from open or mkdir.
mode_t creationMode() { return 0666 & ~userMask(); }
mode_t folderMode() { return 0777 & ~userMask(); }

// Devices and the process's own streams are written where they are.
bool isSystemPath(const std::string& path) {
    return path.rfind("/dev/", 0) == 0 || path.rfind("/proc/", 0) == 0;
}

std::string reason(int error) { return std::strerror(error); }

double flushSeconds = 0.0;

// fsync, timed for the benchmark.
int flushToDisk(int fd) {
    const auto start = std::chrono::steady_clock::now();
    const int result = fsync(fd);
    flushSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

void flushFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    flushToDisk(fd);
    close(fd);
}

// Every byte, or the errno of the write that failed.
int writeAll(int fd, std::string_view bytes) {
    const char* at = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t wrote = write(fd, at, left);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (wrote == 0) return EIO;
        at += wrote;
        left -= static_cast<std::size_t>(wrote);
    }
    return 0;
}

}  // namespace

std::string CannotWrite(const std::string& path, const std::string& why) {
    return "cannot write " + path + " (" + why + ")";
}

double FileFlushSeconds() { return flushSeconds; }

// ---- PendingFile ----------------------------------------------------------

PendingFile::PendingFile(const std::string& target) : target_(target) {
    if (target.empty()) {
        problem_ = CannotWrite("''", "no file name");
        done_ = true;
        return;
    }
    struct stat status;
    const bool exists = stat(target.c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode)) {
        problem_ = CannotWrite(target, reason(EISDIR));
        done_ = true;
        return;
    }
    if ((exists && !S_ISREG(status.st_mode)) || isSystemPath(target)) {
        direct_ = true;
        writePath_ = finalPath_ = target;
        return;
    }
    finalPath_ = followLinks(target);
    const std::string name = nameOf(finalPath_);
    const std::size_t dot = name.find_last_of('.');
    const std::string extension = dot == std::string::npos || dot == 0 ? "" : name.substr(dot);
    const std::string stem = name.substr(0, name.size() - extension.size());
    std::string pattern = joined(folderOf(finalPath_), "." + stem + "-XXXXXX" + extension);
    fd_ = mkstemps(&pattern[0], static_cast<int>(extension.size()));
    if (fd_ < 0) {
        problem_ = CannotWrite(target, reason(errno));
        done_ = true;
        return;
    }
    writePath_ = pattern;
    slot_ = registerCleanup(writePath_, kFile);
    mode_ = exists ? (status.st_mode & 07777) : creationMode();
    fchmod(fd_, mode_);
}

PendingFile::~PendingFile() {
    if (!done_) discard();
}

void PendingFile::discard() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!direct_ && !done_ && !writePath_.empty()) unlink(writePath_.c_str());
    unregisterCleanup(slot_);
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
        if (fd_ < 0) return Fail(reason(errno));
    }
    const int error = writeAll(fd_, bytes);
    return error == 0 ? WriteProblem() : Fail(reason(error));
}

WriteProblem PendingFile::Finish() {
    if (!problem_.empty() || done_) return problem_;
    if (direct_) {
        if (fd_ >= 0 && close(fd_) != 0) {
            fd_ = -1;
            return Fail(reason(errno));
        }
        fd_ = -1;
        return {};
    }
    // An external program may have put a new file at the path: flush what is there now.
    if (fd_ >= 0 && close(fd_) != 0) {
        fd_ = -1;
        return Fail(reason(errno));
    }
    fd_ = open(writePath_.c_str(), O_RDONLY);
    if (fd_ < 0) return Fail(reason(errno));
    if (flushToDisk(fd_) != 0) return Fail(reason(errno));
    fchmod(fd_, mode_);  // again, for a file the program made anew
    const int closed = close(fd_);
    fd_ = -1;
    if (closed != 0) return Fail(reason(errno));
    return {};
}

WriteProblem PendingFile::Rename() {
    if (!problem_.empty() || done_) return problem_;
    if (!direct_) {
        if (rename(writePath_.c_str(), finalPath_.c_str()) != 0) return Fail(reason(errno));
        flushFolder(folderOf(finalPath_));
    }
    unregisterCleanup(slot_);
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

// ---- Groups ----------------------------------------------------------------

namespace {

// A second name for an existing partner file, to put it back if the group
// fails; empty when there is none to keep.
std::string keepOld(const std::string& path, int& slot) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
    std::string pattern = joined(folderOf(path), "." + nameOf(path) + "-old-XXXXXX");
    const int fd = mkstemp(&pattern[0]);
    if (fd < 0) return {};
    close(fd);
    unlink(pattern.c_str());
    if (link(path.c_str(), pattern.c_str()) != 0) return {};
    slot = registerCleanup(pattern, kFile);
    return pattern;
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
    if (pending.empty()) return {};
    struct Kept {
        std::string partner, old;
        int slot = -1;
    };
    std::vector<Kept> kept;
    for (std::size_t i = 0; i + 1 < pending.size(); ++i) {
        Kept k;
        k.partner = followLinks(files[i].path);
        k.old = keepOld(k.partner, k.slot);
        kept.push_back(k);
    }
    auto restore = [&kept](std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!kept[i].old.empty()) rename(kept[i].old.c_str(), kept[i].partner.c_str());
            else unlink(kept[i].partner.c_str());
        }
    };
    auto forget = [&kept] {
        for (Kept& k : kept) {
            if (!k.old.empty()) unlink(k.old.c_str());
            unregisterCleanup(k.slot);
        }
    };
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const WriteProblem problem = pending[i]->Rename();
        if (!problem.empty()) {
            restore(i);
            forget();
            return problem;
        }
    }
    forget();
    return {};
}

// ---- PendingFolder -----------------------------------------------------------

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
        problem_ = CannotWrite(target_, reason(ENOTDIR));
        done_ = true;
        return;
    }
    const std::string real = followLinks(target_);
    std::string pattern = joined(folderOf(real), "." + nameOf(real) + "-XXXXXX");
    if (mkdtemp(&pattern[0]) == nullptr) {
        problem_ = CannotWrite(reportAs_.empty() ? target_ : reportAs_, reason(errno));
        done_ = true;
        return;
    }
    writePath_ = pattern;
    slot_ = registerCleanup(writePath_, kFolder);
}

PendingFolder::~PendingFolder() {
    if (done_) return;
    std::error_code ignored;
    std::filesystem::remove_all(writePath_, ignored);
    unregisterCleanup(slot_);
}

WriteProblem PendingFolder::WriteFile(const std::string& name, std::string_view bytes) {
    if (!problem_.empty()) return problem_;
    const std::string path = joined(writePath_, name);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, creationMode());
    int error = fd < 0 ? errno : writeAll(fd, bytes);
    if (error == 0 && flushToDisk(fd) != 0) error = errno;
    if (fd >= 0 && close(fd) != 0 && error == 0) error = errno;
    if (error == 0) return {};
    unlink(path.c_str());
    return CannotWrite(reportAs_.empty() ? joined(target_, name) : reportAs_, reason(error));
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
        chmod(writePath_.c_str(), folderMode());
        if (rename(writePath_.c_str(), followLinks(target_).c_str()) != 0) return fail(reason(errno));
        flushFolder(folderOf(followLinks(target_)));
        unregisterCleanup(slot_);
        done_ = true;
        return {};
    }
    std::set<std::string> written;
    for (const fs::directory_entry& entry : fs::directory_iterator(writePath_, error))
        written.insert(entry.path().filename().string());
    if (error) return fail(error.message());
    for (const std::string& name : written)
        if (rename(joined(writePath_, name).c_str(), joined(target_, name).c_str()) != 0) return fail(reason(errno));
    std::vector<fs::path> old;
    for (const fs::directory_entry& entry : fs::directory_iterator(target_, error)) {
        const std::string name = entry.path().filename().string();
        if (written.count(name) == 0 && stale(name)) old.push_back(entry.path());
    }
    for (const fs::path& path : old) fs::remove(path, error);
    rmdir(writePath_.c_str());
    unregisterCleanup(slot_);
    done_ = true;
    flushFolder(target_);
    return {};
}
