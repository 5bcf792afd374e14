// Saving on POSIX systems: the file's mode and owner, symbolic links, a write
// that fails part-way, and pipes, devices and folders in the file's place.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/input.h"
#include "unit/input_fixture.h"

namespace {

using ::testing::ExitedWithCode;
using InputPosix = Input;

TEST_F(InputPosix, SaveGivesANewFileTheUsualMode)
{
    EXPECT_EQ(writeIniFile(), 1);
    struct stat st;
    ASSERT_EQ(stat("VYR.ini", &st), 0);
    mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
}

TEST_F(InputPosix, SaveKeepsTheModeOfTheOldFile)
{
    writeFile("VYR.ini", "old");
    chmod("VYR.ini", 0640);
    EXPECT_EQ(writeIniFile(), 1);
    struct stat st;
    ASSERT_EQ(stat("VYR.ini", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(InputPosix, SaveThroughASymbolicLinkReplacesTheFileItNames)
{
    ASSERT_EQ(mkdir("settings", 0755), 0);
    writeFile("settings/vyr.ini", "old");
    ASSERT_EQ(symlink("settings/vyr.ini", "VYR.ini"), 0);
    EXPECT_EQ(writeIniFile(), 1);
    struct stat st;
    ASSERT_EQ(lstat("VYR.ini", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));  // the link survives
    EXPECT_NE(readFile("settings/vyr.ini").find("Motion blur=1\n"), std::string::npos);
    EXPECT_EQ(fileCount("settings"), 1);  // no temporary file left behind
    EXPECT_EQ(fileCount("."), 2);
}

TEST_F(InputPosix, SaveKeepsTheOwnerOfTheOldFile)
{
    if (geteuid() != 0) GTEST_SKIP() << "giving a file away needs root";
    writeFile("VYR.ini", "old");
    ASSERT_EQ(chown("VYR.ini", 4321, 4322), 0);
    EXPECT_EQ(writeIniFile(), 1);
    struct stat st;
    ASSERT_EQ(stat("VYR.ini", &st), 0);
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 4322u);
}

TEST_F(InputPosix, FailedWriteLeavesTheOldFileWhole)
{
    writeFile("VYR.ini", "[DISPLAY]\nRounded points=0\n");
    // A file-size limit makes the write fail halfway, as a full disk would.
    rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100;
    auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    testing::internal::CaptureStdout();
    int written = writeIniFile();
    std::string out = testing::internal::GetCapturedStdout();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(written, 0);
    EXPECT_EQ(out, "Cannot write fileVYR.ini\n");
    EXPECT_EQ(readFile("VYR.ini"), "[DISPLAY]\nRounded points=0\n");
    EXPECT_EQ(fileCount("."), 1);
}

// Save and reset over a pipe, a device or a folder: the message, the thing
// left as it was, status 0.
TEST_F(InputPosix, SaveAndResetOfASpecialFileReportAndGoOn)
{
    for (const char* make : {"mkfifo VYR.ini", "ln -s /dev/zero VYR.ini", "mkdir VYR.ini"}) {
        ASSERT_EQ(system(make), 0);
        alarm(20);
        testing::internal::CaptureStdout();
        EXPECT_EQ(writeIniFile(), 0) << make;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot write fileVYR.ini\n") << make;
        EXPECT_EXIT(resetExecute(), ExitedWithCode(0), "") << make;
        alarm(0);
        EXPECT_EQ(fileCount("."), 1) << make;
        ASSERT_EQ(system("rm -rf VYR.ini"), 0);
    }
    // The reset's message, seen from a child that writes into a file.
    ASSERT_EQ(mkfifo("VYR.ini", 0666), 0);
    EXPECT_EXIT(
        {
            freopen("out.txt", "w", stdout);
            resetExecute();
        },
        ExitedWithCode(0), "");
    EXPECT_EQ(readFile("out.txt"), "Cannot write fileVYR.ini\n");
}

}  // namespace
