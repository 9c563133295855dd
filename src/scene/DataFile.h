#pragma once

#include <cstddef>
#include <string>

// Every real data file is a few kilobytes; anything larger than this is not
// one (an endless device or pipe, a file named by mistake) and is refused
// rather than read without end.
constexpr std::size_t kMaxDataFileSize = 4u << 20;

// The whole content of a data file, read in one go so that the readers parse
// from memory and no stream error of the file system can reach them.
struct DataFile {
    enum class Status { Read, CannotOpen, CannotRead };
    Status status = Status::CannotOpen;
    std::string text;    // the content, when read
    std::string reason;  // why it could not be read, such as "is a directory"
};

// Opens and reads the named file, a pipe or a device alike, up to the limit.
DataFile ReadDataFile(const std::string& name, std::size_t limit = kMaxDataFileSize);

// "4 MiB": how the size limit is named in messages.
std::string SizeLimitText(std::size_t limit);
