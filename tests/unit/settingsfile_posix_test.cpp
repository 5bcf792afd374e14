// The settings file on disk: special files refused without waiting, links
// followed, hard links kept, the in-place fallback where the folder refuses a
// new file, and no temporary file left behind by a terminating signal.
// The permission cases run as an ordinary user in a forked child.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/platform.h"
#include "shell/process.h"
#include "shell/settingsfile.h"
#include "unit/child.h"

namespace {

constexpr uid_t USER = 4321;         // the ordinary user of the permission cases
constexpr gid_t SHARED_GROUP = 4330;  // a group the user belongs to
constexpr uid_t OTHER_USER = 4400;
const char NEW_TEXT[] = "[DISPLAY]\nRounded points=0\n";
const char OLD_TEXT[] = "old settings\n";

std::string readFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const char* path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// The names in a folder, sorted, each followed by a blank.
std::string listFolder(const char* dir)
{
    std::set<std::string> names;
    DIR* d = opendir(dir);
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] != '.') names.insert(e->d_name);
    }
    closedir(d);
    std::string list;
    for (const std::string& n : names) list += n + " ";
    return list;
}

ino_t inode(const char* path)
{
    struct stat st = {};
    stat(path, &st);
    return st.st_ino;
}

int replaceWith(const char* text) { return replaceSettingsFile("VYR.ini", text, strlen(text)); }

// Runs body as USER (group USER, member of SHARED_GROUP); returns body's result.
int asUser(std::function<int()> body)
{
    int status = inChild([&] {
        gid_t groups[] = {SHARED_GROUP};
        if (setgroups(1, groups) != 0 || setgid(USER) != 0 || setuid(USER) != 0) return 99;
        return body();
    });
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Each case in a fresh folder that everyone may enter, as the current folder.
class SettingsFile : public ::testing::Test {
protected:
    char dir[64] = "/tmp/vyr-settingsfile-XXXXXX";
    char previous[4096] = {};
    void SetUp() override
    {
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_NE(mkdtemp(dir), nullptr);
        ASSERT_EQ(chmod(dir, 0755), 0);
        ASSERT_EQ(chdir(dir), 0);
        alarm(20);  // a blocking open ends the test program instead of hanging it
    }
    void TearDown() override
    {
        alarm(0);
        Platform = SYSTEM_PLATFORM;
        ASSERT_EQ(chdir(previous), 0);
        ASSERT_EQ(system((std::string("rm -rf ") + dir).c_str()), 0);
    }
};

// ---- Special files ---------------------------------------------------------------
TEST_F(SettingsFile, PipesDevicesAndFoldersAreRefusedWithoutWaiting)
{
    struct special {
        const char* what;
        std::function<void()> make;
        std::function<bool()> unchanged;
    };
    const special cases[] = {
        {"pipe", [] { mkfifo("VYR.ini", 0666); },
         [] {
             struct stat st;
             return lstat("VYR.ini", &st) == 0 && S_ISFIFO(st.st_mode);
         }},
        {"link to /dev/zero", [] { symlink("/dev/zero", "VYR.ini"); },
         [] {
             struct stat st;
             return stat("VYR.ini", &st) == 0 && S_ISCHR(st.st_mode);
         }},
        {"folder",
         [] {
             mkdir("VYR.ini", 0755);
             writeFile("VYR.ini/keep", "x");
         },
         [] { return readFile("VYR.ini/keep") == "x"; }},
    };
    for (const special& c : cases) {
        c.make();
        EXPECT_EQ(openSettingsForReading("VYR.ini"), nullptr) << c.what;
        EXPECT_EQ(replaceWith(NEW_TEXT), 0) << c.what;
        EXPECT_EQ(emptySettingsFile("VYR.ini"), 0) << c.what;
        EXPECT_TRUE(c.unchanged()) << c.what;
        EXPECT_EQ(listFolder("."), "VYR.ini ") << c.what;  // no temporary file
        ASSERT_EQ(system("rm -rf VYR.ini"), 0);
    }
}

// A pipe with a writer that never writes: reading must not wait for it.
TEST_F(SettingsFile, APipeWithAWriterIsRefusedToo)
{
    ASSERT_EQ(mkfifo("VYR.ini", 0666), 0);
    int reader = open("VYR.ini", O_RDONLY | O_NONBLOCK);
    int writer = open("VYR.ini", O_WRONLY);
    EXPECT_EQ(openSettingsForReading("VYR.ini"), nullptr);
    EXPECT_EQ(emptySettingsFile("VYR.ini"), 0);
    close(writer);
    close(reader);
}

// ---- Links --------------------------------------------------------------------------
TEST_F(SettingsFile, ADanglingLinkCreatesItsTargetOnSaveAndReset)
{
    ASSERT_EQ(mkdir("sub", 0755), 0);
    ASSERT_EQ(symlink("sub/target.ini", "VYR.ini"), 0);
    EXPECT_EQ(replaceWith(NEW_TEXT), 1);
    EXPECT_EQ(readFile("sub/target.ini"), NEW_TEXT);
    ASSERT_EQ(unlink("sub/target.ini"), 0);
    EXPECT_EQ(emptySettingsFile("VYR.ini"), 1);
    EXPECT_EQ(readFile("sub/target.ini"), "");
    // A chain of links, the last one relative to its own folder.
    ASSERT_EQ(unlink("VYR.ini"), 0);
    ASSERT_EQ(unlink("sub/target.ini"), 0);
    ASSERT_EQ(symlink("sub/hop", "VYR.ini"), 0);
    ASSERT_EQ(symlink("target.ini", "sub/hop"), 0);
    EXPECT_EQ(replaceWith(NEW_TEXT), 1);
    EXPECT_EQ(readFile("sub/target.ini"), NEW_TEXT);
    struct stat st;
    ASSERT_EQ(lstat("VYR.ini", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(listFolder("sub"), "hop target.ini ");
}

TEST_F(SettingsFile, ALoopOfLinksIsRefused)
{
    ASSERT_EQ(symlink("other", "VYR.ini"), 0);
    ASSERT_EQ(symlink("VYR.ini", "other"), 0);
    EXPECT_EQ(replaceWith(NEW_TEXT), 0);
    EXPECT_EQ(emptySettingsFile("VYR.ini"), 0);
    EXPECT_EQ(listFolder("."), "VYR.ini other ");
}

TEST_F(SettingsFile, AHardLinkStaysOneFile)
{
    writeFile("VYR.ini", std::string(OLD_TEXT) + "with a longer tail than the new text has\n");
    ASSERT_EQ(link("VYR.ini", "other.ini"), 0);
    ino_t before = inode("VYR.ini");
    EXPECT_EQ(replaceWith(NEW_TEXT), 1);
    EXPECT_EQ(readFile("VYR.ini"), NEW_TEXT);
    EXPECT_EQ(readFile("other.ini"), NEW_TEXT);
    EXPECT_EQ(inode("VYR.ini"), before);
    EXPECT_EQ(listFolder("."), "VYR.ini other.ini ");
}

// ---- Folders the user may not write ----------------------------------------------
// One case per folder, file and link arrangement, saved by an ordinary user.
TEST_F(SettingsFile, OrdinaryUserSavesInPlaceWhereTheFolderRefusesANewFile)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to arrange owners";
    struct arrangement {
        const char* what;
        mode_t folderMode;       // of the folder "f", owned by root
        uid_t fileOwner;         // of f/VYR.ini; (uid_t)-1: no file
        gid_t fileGroup;
        mode_t fileMode;
        int saved;               // expected result
        bool sameInode;          // written in place
    };
    const arrangement cases[] = {
        {"read-only folder, own file", 0755, USER, USER, 0644, 1, true},
        {"read-only folder, group-writable file", 0755, 0, SHARED_GROUP, 0664, 1, true},
        {"sticky folder, file of another owner", 01777, OTHER_USER, SHARED_GROUP, 0664, 1, true},
        {"read-only folder, read-only file", 0755, 0, 0, 0644, 0, true},
        {"read-only folder, no file", 0755, (uid_t)-1, 0, 0, 0, true},
        {"own folder, read-only own file", 0777, USER, USER, 0444, 0, true},
    };
    for (const arrangement& c : cases) {
        ASSERT_EQ(mkdir("f", c.folderMode), 0);
        ASSERT_EQ(chmod("f", c.folderMode), 0);
        if (c.fileOwner != (uid_t)-1) {
            writeFile("f/VYR.ini", OLD_TEXT);
            ASSERT_EQ(chown("f/VYR.ini", c.fileOwner, c.fileGroup), 0);
            ASSERT_EQ(chmod("f/VYR.ini", c.fileMode), 0);
        }
        ino_t before = inode("f/VYR.ini");
        int saved = asUser([] {
            if (chdir("f") != 0) return 98;
            return replaceWith(NEW_TEXT);
        });
        EXPECT_EQ(saved, c.saved) << c.what;
        if (c.fileOwner != (uid_t)-1) {
            EXPECT_EQ(readFile("f/VYR.ini"), c.saved ? NEW_TEXT : OLD_TEXT) << c.what;
            EXPECT_EQ(inode("f/VYR.ini") == before, c.sameInode) << c.what;
            struct stat st;
            ASSERT_EQ(stat("f/VYR.ini", &st), 0);
            EXPECT_EQ(st.st_uid, c.fileOwner) << c.what;
            EXPECT_EQ(st.st_mode & 07777, c.fileMode) << c.what;
        }
        EXPECT_EQ(listFolder("f"), c.fileOwner != (uid_t)-1 ? "VYR.ini " : "") << c.what;
        ASSERT_EQ(system("rm -rf f"), 0);
    }
}

TEST_F(SettingsFile, OrdinaryUserKeepsTheGroupWhenTheOwnerCannotBeKept)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to arrange owners";
    ASSERT_EQ(chmod(".", 0777), 0);
    writeFile("VYR.ini", OLD_TEXT);
    ASSERT_EQ(chown("VYR.ini", OTHER_USER, SHARED_GROUP), 0);
    ASSERT_EQ(chmod("VYR.ini", 0664), 0);
    EXPECT_EQ(asUser([] { return replaceWith(NEW_TEXT); }), 1);
    struct stat st;
    ASSERT_EQ(stat("VYR.ini", &st), 0);
    EXPECT_EQ(readFile("VYR.ini"), NEW_TEXT);
    EXPECT_EQ(st.st_uid, USER);  // replaced by a new file of the user's...
    EXPECT_EQ(st.st_gid, SHARED_GROUP);  // ...in the old group
    EXPECT_EQ(st.st_mode & 07777, 0664u);
    EXPECT_EQ(listFolder("."), "VYR.ini ");
}

TEST_F(SettingsFile, OrdinaryUserResetsThroughTheSameRules)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to arrange owners";
    // A read-only folder: a writable file is emptied, a read-only one kept.
    ASSERT_EQ(mkdir("f", 0755), 0);
    writeFile("f/VYR.ini", OLD_TEXT);
    writeFile("f/locked.ini", OLD_TEXT);
    ASSERT_EQ(chown("f/VYR.ini", USER, USER), 0);
    EXPECT_EQ(asUser([] { return emptySettingsFile("f/VYR.ini"); }), 1);
    EXPECT_EQ(readFile("f/VYR.ini"), "");
    EXPECT_EQ(asUser([] { return emptySettingsFile("f/locked.ini"); }), 0);
    EXPECT_EQ(readFile("f/locked.ini"), OLD_TEXT);
    EXPECT_EQ(asUser([] { return emptySettingsFile("f/missing.ini"); }), 0);
    EXPECT_EQ(listFolder("f"), "VYR.ini locked.ini ");
}

// Links from a folder the user may not write: the file they end at decides.
TEST_F(SettingsFile, OrdinaryUserSavesAndResetsThroughLinks)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to arrange owners";
    ASSERT_EQ(mkdir("locked", 0755), 0);  // root's: the user may not add files
    ASSERT_EQ(mkdir("open", 0777), 0);
    ASSERT_EQ(chmod("open", 0777), 0);  // past the umask
    ASSERT_EQ(symlink("../open/new.ini", "locked/dangling"), 0);
    ASSERT_EQ(symlink("../locked/mine.ini", "locked/to-own-file"), 0);
    ASSERT_EQ(symlink("../locked/root.ini", "locked/to-root-file"), 0);
    ASSERT_EQ(symlink("../locked/missing.ini", "locked/dangling-locked"), 0);
    writeFile("locked/mine.ini", OLD_TEXT);
    ASSERT_EQ(chown("locked/mine.ini", USER, USER), 0);
    writeFile("locked/root.ini", OLD_TEXT);
    struct linkcase {
        const char* link;
        const char* target;
        int written;  // by save and reset alike
    };
    const linkcase cases[] = {
        {"locked/dangling", "open/new.ini", 1},
        {"locked/to-own-file", "locked/mine.ini", 1},
        {"locked/to-root-file", "locked/root.ini", 0},
        {"locked/dangling-locked", "locked/missing.ini", 0},
    };
    for (const linkcase& c : cases) {
        for (bool reset : {false, true}) {
            int r = asUser([&] {
                return reset ? emptySettingsFile(c.link) : replaceSettingsFile(c.link, NEW_TEXT, strlen(NEW_TEXT));
            });
            EXPECT_EQ(r, c.written) << c.link << " reset " << reset;
            std::string expected = !c.written ? OLD_TEXT : (reset ? "" : NEW_TEXT);
            if (c.written || access(c.target, F_OK) == 0) {
                EXPECT_EQ(readFile(c.target), expected) << c.link << " reset " << reset;
            }
            struct stat st;
            ASSERT_EQ(lstat(c.link, &st), 0);
            EXPECT_TRUE(S_ISLNK(st.st_mode)) << c.link;  // the link itself stays
        }
        if (c.written) {
            struct stat st;
            ASSERT_EQ(stat(c.target, &st), 0);
            EXPECT_EQ(st.st_uid, USER) << c.link;
        }
    }
    EXPECT_EQ(listFolder("locked"), "dangling dangling-locked mine.ini root.ini to-own-file to-root-file ");
    EXPECT_EQ(listFolder("open"), "new.ini ");
}

// A file-size limit stands for a full disk: in place, the room is reserved
// before any byte of the old text changes.
TEST_F(SettingsFile, InPlaceWriteThatCannotGetRoomLeavesTheOldText)
{
    writeFile("VYR.ini", OLD_TEXT);
    ASSERT_EQ(link("VYR.ini", "other.ini"), 0);  // a hard link is written in place
    std::string big(4096, 'x');
    int status = inChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit small = {100, 100};
        setrlimit(RLIMIT_FSIZE, &small);
        return replaceSettingsFile("VYR.ini", big.data(), big.size());
    });
    EXPECT_TRUE(exitedWith(status, 0)) << status;
    EXPECT_EQ(readFile("VYR.ini"), OLD_TEXT);
}

// A sync that fails: beside the file, the old one stays and nothing is left;
// in place (a hard link), the text may be incomplete and the user is told.
int failingSync(int) { return -1; }

TEST_F(SettingsFile, AFailedSyncKeepsTheOldFileOrSaysItMayBeIncomplete)
{
    Platform.syncFile = failingSync;
    writeFile("VYR.ini", OLD_TEXT);
    testing::internal::CaptureStdout();
    EXPECT_EQ(replaceWith(NEW_TEXT), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(readFile("VYR.ini"), OLD_TEXT);
    EXPECT_EQ(listFolder("."), "VYR.ini ");

    ASSERT_EQ(link("VYR.ini", "other.ini"), 0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(replaceWith(NEW_TEXT), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "VYR.ini was rewritten only in part: its settings may be incomplete\n");
}

// ---- Terminating signals during a save -----------------------------------------
int syncReport = -1;  // a pipe told when the save reaches its sync, which then lasts
int slowSync(int fd)
{
    if (write(syncReport, "s", 1) != 1) return -1;
    sleep(5);
    return fsync(fd);
}

TEST_F(SettingsFile, ASignalDuringTheSyncLeavesNoTemporaryFile)
{
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        writeFile("VYR.ini", OLD_TEXT);
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        fflush(nullptr);
        pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            syncReport = fds[1];
            Platform.syncFile = slowSync;
            for (int s : {SIGTERM, SIGINT, SIGHUP}) signal(s, SIG_DFL);
            installSignalHandlers();
            _exit(replaceWith(NEW_TEXT) ? 0 : 1);
        }
        close(fds[1]);
        char c;
        ASSERT_EQ(read(fds[0], &c, 1), 1);
        EXPECT_EQ(listFolder(".").size(), strlen("VYR.ini VYR.ini.XXXXXX "));  // the new text is beside it
        kill(pid, sig);
        int status;
        waitpid(pid, &status, 0);
        close(fds[0]);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << sig << " " << status;
        EXPECT_EQ(listFolder("."), "VYR.ini ") << sig;
        EXPECT_EQ(readFile("VYR.ini"), OLD_TEXT) << sig;
    }
}

// Signals at scattered moments of saves that follow one another: the file
// always holds one whole text and nothing else is left.
TEST_F(SettingsFile, ASignalAtAnyMomentLeavesOneWholeFile)
{
    writeFile("VYR.ini", OLD_TEXT);
    for (int i = 0; i < 40; i++) {
        fflush(nullptr);
        pid_t pid = fork();
        if (pid == 0) {
            signal(SIGTERM, SIG_DFL);
            installSignalHandlers();
            for (;;) replaceWith(NEW_TEXT);
        }
        usleep((useconds_t)(i * 97 % 3000));
        kill(pid, SIGTERM);
        int status;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << i;
        EXPECT_EQ(listFolder("."), "VYR.ini ") << i;
        std::string text = readFile("VYR.ini");
        EXPECT_TRUE(text == OLD_TEXT || text == NEW_TEXT) << i;
    }
}

}  // namespace
