#pragma once

// What the writers of FileWriting.h share: the table of temporary paths that
// an interrupt removes, path arithmetic, the modes new files get, and writes
// and flushes whose failures are errno values. Internal to the writers.

#include <sys/types.h>

#include <string>
#include <string_view>

namespace file_writing {

// ---- Temporary paths removed on SIGINT and SIGTERM (InterruptCleanup.cpp) --

enum class Leftover { File, Folder };

// A slot of the table, or -1 when the path is too long or the table full
// (the path is then only removed by its owner).
int RemoveOnInterrupt(const std::string& path, Leftover kind);
// The owner has removed or kept the path: the slot is free again, set to -1.
void ForgetOnInterrupt(int& slot);

// ---- Paths -------------------------------------------------------------------

std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);
std::string Joined(const std::string& folder, const std::string& name);
// The file a chain of symbolic links ends at (which need not exist yet).
std::string FollowLinks(std::string path);
// Devices and the process's own streams are written where they are.
bool IsSystemPath(const std::string& path);

// What a new file or folder would get from open or mkdir.
mode_t CreationMode();
mode_t FolderMode();

// ---- Checked system calls ------------------------------------------------------

std::string Reason(int error);
// Every byte, or the errno of the write that failed.
int WriteAll(int fd, std::string_view bytes);
// fsync, timed for the benchmark.
int FlushToDisk(int fd);
// Makes a rename into the folder durable.
void FlushFolder(const std::string& folder);

}  // namespace file_writing
