#include "scene/DataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Closes the descriptor whichever way reading ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd; }

private:
    int fd;
};

DataFile cannotRead(std::string reason) {
    DataFile file;
    file.status = DataFile::Status::CannotRead;
    file.reason = std::move(reason);
    return file;
}

}  // namespace

std::string SizeLimitText(std::size_t limit) {
    if (limit >= (1u << 20) && limit % (1u << 20) == 0) return std::to_string(limit >> 20) + " MiB";
    if (limit >= (1u << 10) && limit % (1u << 10) == 0) return std::to_string(limit >> 10) + " KiB";
    return std::to_string(limit) + " bytes";
}

DataFile ReadDataFile(const std::string& name, std::size_t limit) {
    Descriptor in(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.Get() < 0) return DataFile{};
    struct stat status;
    if (::fstat(in.Get(), &status) == 0 && S_ISDIR(status.st_mode)) return cannotRead("is a directory");

    DataFile file;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t count = ::read(in.Get(), buffer, sizeof buffer);
        if (count == 0) break;
        if (count < 0) {
            if (errno == EINTR) continue;
            return cannotRead(std::strerror(errno));
        }
        if (file.text.size() + static_cast<std::size_t>(count) > limit)
            return cannotRead("larger than " + SizeLimitText(limit));
        file.text.append(buffer, static_cast<std::size_t>(count));
    }
    file.status = DataFile::Status::Read;
    return file;
}
