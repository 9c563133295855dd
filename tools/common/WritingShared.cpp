#include "WritingShared.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "FileWriting.h"

namespace file_writing {

namespace {

double flushSeconds = 0.0;

// The process's file mode mask (reading it means setting it; the tools
// write from one thread).
mode_t userMask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status;
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        std::string link(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 4095) + 1, '\0');
        const ssize_t length = readlink(path.c_str(), &link[0], link.size());
        if (length <= 0) return path;
        link.resize(static_cast<std::size_t>(length));
        path = link[0] == '/' ? link : Joined(FolderOf(path), link);
    }
    return path;
}

bool IsSystemPath(const std::string& path) {
    return path.rfind("/dev/", 0) == 0 || path.rfind("/proc/", 0) == 0;
}

mode_t CreationMode() { return 0666 & ~userMask(); }
mode_t FolderMode() { return 0777 & ~userMask(); }

std::string Reason(int error) { return std::strerror(error); }

int WriteAll(int fd, std::string_view bytes) {
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

int FlushToDisk(int fd) {
    const auto start = std::chrono::steady_clock::now();
    const int result = fsync(fd);
    flushSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

void FlushFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    FlushToDisk(fd);
    close(fd);
}

}  // namespace file_writing

std::string CannotWrite(const std::string& path, const std::string& why) {
    return "cannot write " + path + " (" + why + ")";
}

double FileFlushSeconds() { return file_writing::flushSeconds; }
