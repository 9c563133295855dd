// An interrupted writer leaves nothing behind: the temporary file or folder
// it was filling is removed by the SIGINT and SIGTERM handlers, and the
// process still ends by the signal. Also the one-line reasons of a failed
// write, and a folder's files appearing together.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "FileWriting.h"

namespace fs = std::filesystem;

namespace {

class Scratch {
public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "logo3d-writing-XXXXXX").string();
        path_ = mkdtemp(&pattern[0]);
    }
    ~Scratch() { fs::remove_all(path_); }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    std::size_t Entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(path_), fs::directory_iterator()));
    }

private:
    std::string path_;
};

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs work in a child that says "ready" and waits; sends the signal once it
// is ready, and returns the signal that ended the child (0 if none did).
int interruptWhenReady(const std::function<void()>& work, int signal) {
    int channel[2];
    if (pipe(channel) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        work();
        const char ready = 'r';
        if (write(channel[1], &ready, 1) != 1) _exit(3);
        for (;;) pause();
    }
    close(channel[1]);
    char ready = 0;
    const bool said = read(channel[0], &ready, 1) == 1;
    close(channel[0]);
    kill(child, said ? signal : SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

TEST(Interrupt, RemovesTheTemporaryFilesAndFolders) {
    for (int signal : {SIGINT, SIGTERM}) {
        Scratch scratch;
        std::ofstream(scratch / "logo.glb") << "the old file";
        const int ended = interruptWhenReady(
            [&] {
                static PendingFile file(scratch / "logo.glb");
                file.Write("half of a new file");
                static PendingFile other(scratch / "logo.png");
                other.Write("another");
                static PendingFolder frames(scratch / "frames");
                frames.WriteFile("frame-000.png", "a frame");
            },
            signal);
        EXPECT_EQ(ended, signal) << "the process still ends by the signal";
        EXPECT_EQ(scratch.Entries(), 1u) << "only the old file is left";
        EXPECT_EQ(contents(scratch / "logo.glb"), "the old file");
    }
}

// A handler the program had before its first file (the render tool's, which
// stops its display server) still runs, after the temporary file is gone.
char handledMarker[4096];

void markHandled(int signal) {
    const int fd = open(handledMarker, O_WRONLY | O_CREAT, 0644);
    if (fd >= 0) close(fd);
    ::signal(signal, SIG_DFL);
    raise(signal);
}

TEST(Interrupt, HandsTheSignalOnToTheProgramsOwnHandler) {
    struct sigaction current {};
    sigaction(SIGTERM, nullptr, &current);
    if (current.sa_handler != SIG_DFL) GTEST_SKIP() << "this process has written files already: run the test alone";
    Scratch scratch;
    std::snprintf(handledMarker, sizeof handledMarker, "%s", (scratch / "handled").c_str());
    const int ended = interruptWhenReady(
        [&] {
            ::signal(SIGTERM, markHandled);
            static PendingFile file(scratch / "logo.glb");
            file.Write("half of a new file");
        },
        SIGTERM);
    EXPECT_EQ(ended, SIGTERM);
    EXPECT_TRUE(fs::exists(scratch / "handled")) << "the program's own handler did not run";
    EXPECT_EQ(scratch.Entries(), 1u) << "only the handler's mark is left";
}

TEST(FileWriting, FailuresAreOneLineNamingTheFile) {
    Scratch scratch;
    fs::create_directory(scratch / "folder.stl");
    struct Case {
        std::string path, expected;
    };
    const Case cases[] = {
        {scratch / "folder.stl", "cannot write " + (scratch / "folder.stl") + " (Is a directory)"},
        {scratch / "missing/logo.stl", "cannot write " + (scratch / "missing/logo.stl") + " (No such file or directory)"},
        {"", "cannot write '' (no file name)"},
    };
    for (const Case& c : cases) EXPECT_EQ(WriteWholeFile(c.path, "bytes"), c.expected);
    EXPECT_EQ(scratch.Entries(), 1u);
}

TEST(FileWriting, AGroupFailsWholeWhenItsLastFileCannotBeMade) {
    Scratch scratch;
    std::ofstream(scratch / "logo.bin") << "the old partner";
    const WriteProblem problem =
        WriteFileGroup({{scratch / "logo.bin", "new partner"}, {scratch / "missing/logo.gltf", "{}"}});
    EXPECT_NE(problem.find("missing/logo.gltf"), std::string::npos) << problem;
    EXPECT_EQ(contents(scratch / "logo.bin"), "the old partner");
    EXPECT_EQ(scratch.Entries(), 1u);
}

TEST(FileWriting, NewFilesGetTheUsualPermissionsAndOldOnesKeepTheirs) {
    Scratch scratch;
    const mode_t mask = umask(022);
    ASSERT_EQ(WriteWholeFile(scratch / "new.stl", "bytes"), "");
    std::ofstream(scratch / "old.stl") << "old";
    chmod((scratch / "old.stl").c_str(), 0604);
    ASSERT_EQ(WriteWholeFile(scratch / "old.stl", "new bytes"), "");
    umask(mask);
    struct stat status;
    ASSERT_EQ(stat((scratch / "new.stl").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
    ASSERT_EQ(stat((scratch / "old.stl").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0604u);
    EXPECT_EQ(contents(scratch / "old.stl"), "new bytes");
}

}  // namespace
