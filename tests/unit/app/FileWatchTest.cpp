#include "app/FileWatch.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

FileStamp stamp(unsigned long long size, long long modified, unsigned long long inode = 1) {
    FileStamp s;
    s.exists = s.regular = true;
    s.size = size;
    s.modifiedNanoseconds = modified;
    s.inode = inode;
    return s;
}

struct PollCase {
    const char* what;
    std::vector<FileStamp> polls;
    std::vector<bool> changes;  // what each poll reports
};

// The file as read has size 10 at time 1.
TEST(FileWatch, AChangeCountsOnceItHasSettledForTwoPolls) {
    const FileStamp read = stamp(10, 1);
    const FileStamp saved = stamp(12, 2);
    const FileStamp growing = stamp(14, 3);
    const FileStamp renamed = stamp(10, 1, 2);
    const FileStamp absent;
    const std::vector<PollCase> cases = {
        {"unchanged", {read, read, read}, {false, false, false}},
        {"saved", {saved, saved, saved}, {false, true, false}},
        {"still being written", {saved, growing, growing}, {false, false, true}},
        {"saved and put back before it settled", {saved, read, read}, {false, false, false}},
        {"renamed over, same size and time", {renamed, renamed}, {false, true}},
        {"removed, then saved", {absent, absent, saved, saved}, {false, true, false, true}},
        {"saved twice", {saved, saved, growing, growing}, {false, true, false, true}},
    };
    for (const PollCase& c : cases) {
        FileWatch watch("");
        // From no file to the file as read: one change, then the file counts as read.
        watch.Poll(read);
        ASSERT_TRUE(watch.Poll(read));
        std::vector<bool> seen;
        for (const FileStamp& s : c.polls) seen.push_back(watch.Poll(s));
        EXPECT_EQ(seen, c.changes) << c.what;
    }
}

TEST(FileWatch, FollowsLinksAndLeavesPipesAlone) {
    std::string pattern = ::testing::TempDir() + "logo3d-watch-XXXXXX";
    ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
    const std::string directory = pattern;
    const std::string file = directory + "/string.src", link = directory + "/link.src", pipe = directory + "/pipe";
    std::ofstream(file) << "text";
    ASSERT_EQ(symlink(file.c_str(), link.c_str()), 0);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);

    FileWatch linked(link);
    EXPECT_TRUE(linked.Watched());
    EXPECT_EQ(StampOf(link), StampOf(file));
    EXPECT_FALSE(FileWatch(pipe).Watched());
    EXPECT_FALSE(FileWatch(directory + "/absent").Watched());

    std::ofstream(file) << "longer text";
    EXPECT_FALSE(linked.Poll());
    EXPECT_TRUE(linked.Poll());
    EXPECT_FALSE(linked.Poll());

    for (const std::string& name : {file, link, pipe}) std::remove(name.c_str());
    rmdir(directory.c_str());
}

}  // namespace
