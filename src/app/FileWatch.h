#pragma once

#include <string>

// What a poll knows of a file: enough to tell that it was saved again,
// whether written in place or renamed over.
struct FileStamp {
    bool exists = false;
    bool regular = false;
    unsigned long long device = 0, inode = 0, size = 0;
    long long modifiedNanoseconds = 0;
    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// The stamp of the file a name leads to, symbolic links followed.
FileStamp StampOf(const std::string& path);

// Watches one data file by polling. A change counts once the file has kept
// the same stamp for two polls in a row, so a save still being written is
// never read half-way; each change is reported once.
class FileWatch {
public:
    // The file as it is now counts as read. A name that is not a regular
    // file (a pipe, a device) cannot be read twice and is not watched.
    explicit FileWatch(std::string path);

    bool Watched() const { return watched; }
    const std::string& Path() const { return path; }
    // True when the file has settled in a state other than the one read last;
    // that state then counts as read, whether or not it loads.
    bool Poll();
    // The same, with the stamp a poll would take.
    bool Poll(const FileStamp& now);

private:
    std::string path;
    bool watched;
    FileStamp read;
    FileStamp previous;
};
