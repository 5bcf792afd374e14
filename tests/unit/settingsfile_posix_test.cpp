// The settings file on disk: links followed, the in-place fallback where the
// folder refuses a new file (as an ordinary user, in a forked child), and
// failures or a terminating signal at each step of a save, which leave one
// whole text. Pipes, devices and folders in its place: input and start-up tests.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "core/platform.h"
#include "core/process.h"
#include "core/settingsfile.h"
#include "unit/child.h"
#include "unit/testfiles.h"

// ---- Injected faults -----------------------------------------------------------
// The save's calls pass through these stand-ins. Armed, they raise a signal
// right after the call, as if it had arrived during it, or reserve room
// only in part (the file grows) and fail, as a full disk does.
enum saveStep { NO_STEP, CREATE_STEP, WRITE_STEP, SYNC_STEP, NO_ROOM, SYNC_FAILS };
static saveStep faultStep = NO_STEP;
static int faultSignal = 0;

static void signalAfter(saveStep step)
{
    if (faultStep == step) raise(faultSignal);
}

extern "C" int mkstemp(char* pattern)
{
    int fd = mkostemp(pattern, 0);
    signalAfter(CREATE_STEP);
    return fd;
}

extern "C" ssize_t pwrite(int fd, const void* data, size_t n, off_t offset)
{
    ssize_t done = syscall(SYS_pwrite64, fd, data, n, offset);
    signalAfter(WRITE_STEP);
    return done;
}

extern "C" int posix_fallocate(int fd, off_t offset, off_t length)
{
    if (faultStep != NO_ROOM) return fallocate(fd, 0, offset, length) == 0 ? 0 : errno;
    return ftruncate(fd, offset + length) == 0 ? ENOSPC : errno;
}

static int faultySync(int fd)
{
    signalAfter(SYNC_STEP);
    return faultStep == SYNC_FAILS ? -1 : fsync(fd);
}

namespace {

constexpr uid_t USER = 4321;          // the ordinary user of the permission cases
constexpr gid_t SHARED_GROUP = 4330;  // a group the user belongs to
constexpr uid_t OTHER_USER = 4400;
const char NEW_TEXT[] = "[DISPLAY]\nRounded points=0\n";
const char OLD_TEXT[] = "old settings, longer than the new ones\n";  // an old tail would show

struct stat statOf(const char* path)
{
    struct stat st = {};
    stat(path, &st);
    return st;
}

std::string readFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const char* path, const char* text) { std::ofstream(path, std::ios::binary) << text; }

int replaceWith(const char* name, const char* text) { return replaceSettingsFile(name, text, strlen(text)); }

// Saves (or resets) as USER, also in SHARED_GROUP; returns the result.
int asUser(const char* name, bool reset)
{
    int status = inChild([&] {
        gid_t groups[] = {SHARED_GROUP};
        umask(022);
        if (setgroups(1, groups) != 0 || setgid(USER) != 0 || setuid(USER) != 0) return 99;
        return reset ? emptySettingsFile(name) : replaceWith(name, NEW_TEXT);
    });
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// ---- Folders, files and links of other owners ------------------------------------
// Save and reset by an ordinary user, each name tried in a fresh tree:
// folders the user may not write ("locked", root's), may write ("open") or
// shares ("sticky"), files of every kind of owner, and links out of "locked".
TEST(SettingsFile, AnOrdinaryUserWritesWhereTheFileAllowsIt)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to arrange owners";
    scopedTempFolder folder("vyr-settingsfile");
    ASSERT_TRUE(folder.ok() && chmod(".", 0755) == 0);  // the user may enter
    struct file {
        const char* path;
        mode_t mode;  // S_IFDIR for a folder
        uid_t owner;
        gid_t group;
    } const files[] = {
        {"locked", S_IFDIR | 0755, 0, 0}, {"open", S_IFDIR | 0777, 0, 0}, {"sticky", S_IFDIR | 01777, 0, 0},
        {"locked/own.ini", 0644, USER, USER}, {"locked/group.ini", 0664, 0, SHARED_GROUP},
        {"locked/root.ini", 0644, 0, 0}, {"sticky/other.ini", 0664, OTHER_USER, SHARED_GROUP},
        {"open/other.ini", 0664, OTHER_USER, SHARED_GROUP}, {"open/read-only.ini", 0444, USER, USER},
    };
    const char* const links[][2] = {
        {"locked/dangling", "../open/new.ini"}, {"locked/chain", "../open/hop"}, {"open/hop", "next.ini"},
        {"locked/to-own", "own.ini"}, {"locked/to-root", "root.ini"}, {"locked/dangling-locked", "missing.ini"},
        {"locked/loop", "loop2"}, {"locked/loop2", "loop"},
    };
    struct attempt {
        const char* name;  // saved or reset
        const char* file;  // the file written
        int written;       // by save and reset alike
        bool replaced;     // a save puts a new file of the user's in its place
    } const cases[] = {
        {"locked/own.ini", "locked/own.ini", 1, false},  // in place: no new file in the folder
        {"locked/group.ini", "locked/group.ini", 1, false},
        {"sticky/other.ini", "sticky/other.ini", 1, false},  // in place: the rename is refused
        {"open/other.ini", "open/other.ini", 1, true},
        {"locked/root.ini", "locked/root.ini", 0, false},
        {"locked/missing.ini", "locked/missing.ini", 0, false},
        {"open/read-only.ini", "open/read-only.ini", 0, false},
        {"locked/dangling", "open/new.ini", 1, false},
        {"locked/chain", "open/next.ini", 1, false},  // the second hop relative to its own folder
        {"locked/to-own", "locked/own.ini", 1, false},
        {"locked/to-root", "locked/root.ini", 0, false},
        {"locked/dangling-locked", "locked/missing.ini", 0, false},
        {"locked/loop", "locked/loop", 0, false},
    };
    auto countTree = [] { return fileCount("locked") + fileCount("open") + fileCount("sticky"); };
    for (const attempt& c : cases) {
        for (bool reset : {false, true}) {
            for (const file& f : files) {
                int made = S_ISDIR(f.mode) ? mkdir(f.path, 0) : (writeFile(f.path, OLD_TEXT), 0);
                ASSERT_EQ(made | chown(f.path, f.owner, f.group) | chmod(f.path, f.mode & 07777), 0) << f.path;
            }
            for (const auto& l : links) ASSERT_EQ(symlink(l[1], l[0]), 0) << l[0];
            std::string what = std::string(c.name) + (reset ? " reset" : " save");
            struct stat old = {};
            bool existed = stat(c.file, &old) == 0;
            long names = countTree();

            EXPECT_EQ(asUser(c.name, reset), c.written) << what;
            EXPECT_EQ(readFile(c.file), !c.written ? (existed ? OLD_TEXT : "") : (reset ? "" : NEW_TEXT)) << what;
            struct stat now = statOf(c.file);
            bool replaced = c.replaced && !reset;
            if (existed || c.written) {
                EXPECT_EQ(now.st_ino == old.st_ino, existed && !replaced) << what;
                EXPECT_EQ(now.st_uid, existed && !replaced ? old.st_uid : USER) << what;
                EXPECT_EQ(now.st_gid, existed ? old.st_gid : USER) << what;  // kept where the user may
                EXPECT_EQ(now.st_mode, existed ? old.st_mode : S_IFREG | 0644) << what;
            }
            EXPECT_TRUE(!strcmp(c.name, c.file) || (lstat(c.name, &now) == 0 && S_ISLNK(now.st_mode))) << what;
            EXPECT_EQ(countTree(), names + (c.written && !existed)) << what;  // nothing but the file written
            std::error_code error;
            for (const char* folder : {"locked", "open", "sticky"}) std::filesystem::remove_all(folder, error);
        }
    }
}

// ---- Failures and signals part-way -----------------------------------------------
// Every save ends with one whole text and no temporary file. A hard link is
// rewritten in place, keeping the file. A failure beside the file keeps the
// old one; in place, a disk without room fails before any byte changes and a
// failed sync is reported. A terminating signal ends the process: the old
// text stays beside; in place the signal waits until the new text is whole.
TEST(SettingsFile, ASaveLeavesOneWholeText)
{
    scopedTempFolder folder("vyr-settingsfile");
    ASSERT_TRUE(folder.ok());
    const std::string big(200, 'x');
    struct outcome {
        const char* what;
        bool inPlace;
        saveStep fault;
        const char* text;   // saved
        int saved;          // the result; a signal ends the process instead
        const char* after;  // in the file afterwards
        const char* said;
    } const cases[] = {
        {"in place", true, NO_STEP, NEW_TEXT, 1, NEW_TEXT, ""},
        {"sync fails beside", false, SYNC_FAILS, NEW_TEXT, 0, OLD_TEXT, ""},
        {"sync fails in place", true, SYNC_FAILS, NEW_TEXT, 0, NEW_TEXT,
         "VYR.ini was rewritten only in part: its settings may be incomplete\n"},
        {"no room in place", true, NO_ROOM, big.c_str(), 0, OLD_TEXT, ""},
        {"signal, temporary file made", false, CREATE_STEP, NEW_TEXT, -1, OLD_TEXT, ""},
        {"signal, written beside", false, WRITE_STEP, NEW_TEXT, -1, OLD_TEXT, ""},
        {"signal, syncing beside", false, SYNC_STEP, NEW_TEXT, -1, OLD_TEXT, ""},
        {"signal, written in place", true, WRITE_STEP, NEW_TEXT, -1, NEW_TEXT, ""},
    };
    for (const outcome& c : cases) {
        for (int sig : c.saved < 0 ? std::vector<int>{SIGTERM, SIGINT, SIGHUP} : std::vector<int>{0}) {
            writeFile("VYR.ini", OLD_TEXT);
            ASSERT_EQ(link("VYR.ini", "other.ini") | (c.inPlace ? 0 : unlink("other.ini")), 0);
            ino_t before = statOf("VYR.ini").st_ino;
            testing::internal::CaptureStdout();
            int status = inChild([&] {
                for (int s : {SIGTERM, SIGINT, SIGHUP}) signal(s, SIG_DFL);
                installSignalHandlers();
                Platform.syncFile = faultySync;
                faultStep = c.fault;
                faultSignal = sig;
                int saved = replaceWith("VYR.ini", c.text);
                fflush(stdout);
                return saved;
            });
            std::string what = std::string(c.what) + " " + std::to_string(sig);
            EXPECT_EQ(testing::internal::GetCapturedStdout(), c.said) << what;
            EXPECT_TRUE(sig ? WIFSIGNALED(status) && WTERMSIG(status) == sig : exitedWith(status, c.saved)) << what;
            EXPECT_EQ(readFile("VYR.ini"), c.after) << what;
            EXPECT_EQ(fileCount("."), c.inPlace ? 2 : 1) << what;
            EXPECT_TRUE(!c.inPlace || (statOf("VYR.ini").st_ino == before && readFile("other.ini") == c.after)) << what;
            unlink("other.ini");
        }
    }
}

}  // namespace
