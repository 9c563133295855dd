// Temporary paths to remove when the process is interrupted.
//
// The signal handler may only make system calls, so the table is fixed and
// the paths are plain character arrays.

#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "WritingShared.h"

namespace file_writing {

namespace {

enum SlotKind : int { kFree = 0, kClaimed = -1, kFile = 1, kFolder = 2 };

struct CleanupSlot {
    std::atomic<int> kind{kFree};
    char path[4096];
};

constexpr int kSlotCount = 64;
CleanupSlot cleanupSlots[kSlotCount];

constexpr int kHandledSignals[] = {SIGINT, SIGTERM};
// What each signal did before the handler below took it over: a program's
// own handler (the render tool stops its display server) runs after it.
struct sigaction previousActions[sizeof kHandledSignals / sizeof kHandledSignals[0]];

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
    // Hand the signal on: to the handler that was there before, or, as a
    // rule, to the default action, which ends the process as the signal would.
    for (std::size_t i = 0; i < sizeof kHandledSignals / sizeof kHandledSignals[0]; ++i)
        if (kHandledSignals[i] == signal) sigaction(signal, &previousActions[i], nullptr);
    raise(signal);
}

void installInterruptHandlers() {
    static const bool installed = [] {
        for (std::size_t i = 0; i < sizeof kHandledSignals / sizeof kHandledSignals[0]; ++i) {
            const int signal = kHandledSignals[i];
            sigaction(signal, nullptr, &previousActions[i]);
            if (previousActions[i].sa_handler == SIG_IGN) continue;  // a caller that ignores it keeps ignoring it
            struct sigaction action {};
            action.sa_handler = onInterrupt;
            sigemptyset(&action.sa_mask);
            sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

}  // namespace

int RemoveOnInterrupt(const std::string& path, Leftover leftover) {
    if (path.size() >= sizeof cleanupSlots[0].path) return -1;
    installInterruptHandlers();
    for (int i = 0; i < kSlotCount; ++i) {
        int expected = kFree;
        if (!cleanupSlots[i].kind.compare_exchange_strong(expected, kClaimed)) continue;
        std::memcpy(cleanupSlots[i].path, path.c_str(), path.size() + 1);
        cleanupSlots[i].kind.store(leftover == Leftover::File ? kFile : kFolder);
        return i;
    }
    return -1;
}

void ForgetOnInterrupt(int& slot) {
    if (slot >= 0) cleanupSlots[slot].kind.store(kFree);
    slot = -1;
}

}  // namespace file_writing
