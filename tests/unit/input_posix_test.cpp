// Saving and reading on POSIX systems: the file's mode and owner, symbolic
// links, a write that fails part-way, pipes, devices and folders in the
// file's place, and a stream whose reads fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "menu/settings.h"
#include "app/commands.h"
#include "app/input.h"
#include "app/startup.h"
#include "unit/cmdline_seam.h"
#include "unit/input_fixture.h"

namespace {

using ::testing::ExitedWithCode;
using InputPosix = Input;

// A new file gets the usual mode; a replaced one keeps its mode and (as root,
// who can give a file away) its owner.
TEST_F(InputPosix, SaveKeepsTheModeAndOwnerOfTheOldFile)
{
    mode_t mask = umask(0);
    umask(mask);
    const bool root = geteuid() == 0;
    for (mode_t old : {mode_t(0), mode_t(0640)}) {
        SCOPED_TRACE(old);
        if (old) {
            writeFile("VYR.ini", "old");
            chmod("VYR.ini", old);
            if (root) {
                ASSERT_EQ(chown("VYR.ini", 4321, 4322), 0);
            }
        }
        EXPECT_EQ(writeIniFile(), 1);
        struct stat st;
        ASSERT_EQ(stat("VYR.ini", &st), 0);
        EXPECT_EQ(st.st_mode & 0777, old ? old : 0666 & ~mask);
        if (root && old) {
            EXPECT_EQ(st.st_uid, 4321u);
            EXPECT_EQ(st.st_gid, 4322u);
        }
        remove("VYR.ini");
    }
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

TEST_F(InputPosix, FailedWriteLeavesTheOldFileWhole)
{
    writeFile("VYR.ini", "[DISPLAY]\nRounded points=0\n");
    // A file-size limit makes the write fail halfway, as a full disk would.
    rlimit old, small;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    small = old;
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

// A pipe nobody writes (opening it would wait for good), a device that never
// ends, a folder: start-up's read reports it without waiting and keeps the
// defaults; save and reset report it, leave it as it was and go on (status 0).
TEST_F(InputPosix, SpecialFilesAreReportedWithoutWaiting)
{
    for (const char* make : {"mkfifo VYR.ini", "ln -s /dev/zero VYR.ini", "mkdir VYR.ini"}) {
        SCOPED_TRACE(make);
        ASSERT_EQ(system(make), 0);
        alarm(20);
        testing::internal::CaptureStdout();
        readIniFile();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot read file VYR.ini\n");
        EXPECT_EQ(ApplicationData.period, 5000);
        EXPECT_EQ(ApplicationData.maxDegree, 6);
        testing::internal::CaptureStdout();
        EXPECT_EQ(writeIniFile(), 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot write fileVYR.ini\n");
        EXPECT_EXIT(resetExecute(), ExitedWithCode(0), "");
        alarm(0);
        EXPECT_EQ(fileCount("."), 1);
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

// A stream (a cookie stream) that delivers some text, then fails on every
// read: the lines before the error stay, and one failing read ends the
// reading, with no retry loop.
struct failing {
    const char* text;  // what the stream delivers before failing
    size_t offset;     // bytes delivered, from the text's start
    int reads;         // read calls so far
};

ssize_t failingRead(void* cookie, char* buffer, size_t size)
{
    auto* f = static_cast<failing*>(cookie);
    f->reads++;
    size_t n = std::min(strlen(f->text) - f->offset, size);
    if (n == 0) errno = EIO;
    memcpy(buffer, f->text + f->offset, n);
    f->offset += n;
    return n ? (ssize_t)n : -1;
}

TEST_F(InputPosix, ReadErrorEndsTheReading)
{
    failing state = {"[DISPLAY]\nRounded points=0\nBlend color method :=", 0, 0};
    FILE* f = fopencookie(&state, "r", {failingRead, nullptr, nullptr, nullptr});
    ASSERT_NE(f, nullptr);
    setvbuf(f, nullptr, _IONBF, 0);
    menuLoad(&MainMenu, f);
    fclose(f);
    EXPECT_EQ(CheckBoxRoundedPoints_DATA.value, 0);
    EXPECT_EQ(ListBoxBlendMethod_DATA.selected, 0);
    EXPECT_LT(state.reads, 200);
}

}  // namespace
