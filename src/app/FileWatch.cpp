#include "app/FileWatch.h"

#include <sys/stat.h>

bool FileStamp::operator==(const FileStamp& other) const {
    return exists == other.exists && regular == other.regular && device == other.device && inode == other.inode &&
           size == other.size && modifiedNanoseconds == other.modifiedNanoseconds;
}

FileStamp StampOf(const std::string& path) {
    FileStamp stamp;
    struct stat status;
    if (stat(path.c_str(), &status) != 0) return stamp;
    stamp.exists = true;
    stamp.regular = S_ISREG(status.st_mode);
    stamp.device = static_cast<unsigned long long>(status.st_dev);
    stamp.inode = static_cast<unsigned long long>(status.st_ino);
    stamp.size = static_cast<unsigned long long>(status.st_size);
    stamp.modifiedNanoseconds =
        static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + static_cast<long long>(status.st_mtim.tv_nsec);
    return stamp;
}

FileWatch::FileWatch(std::string path_) : path(std::move(path_)), read(StampOf(path)), previous(read) {
    watched = read.regular;
}

bool FileWatch::Poll() { return watched && Poll(StampOf(path)); }

bool FileWatch::Poll(const FileStamp& now) {
    const bool settled = now == previous;
    previous = now;
    if (!settled || now == read) return false;
    read = now;
    return true;
}
