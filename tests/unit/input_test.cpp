// Input callbacks and the reset, save and cancel commands.
#include <gtest/gtest.h>

#include <GL/glut.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "menu/mainmenu.h"
#include "shell/input.h"
#include "shell/state.h"

namespace {

using ::testing::ExitedWithCode;

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

int fileCount(const char* dir)
{
    int n = 0;
    DIR* d = opendir(dir);
    while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
    closedir(d);
    return n;
}

// Each case runs in a fresh temporary folder, where VYR.ini lives.
class Input : public ::testing::Test {
protected:
    char dir[64] = "/tmp/vyr-input-XXXXXX";
    char previous[4096] = {};
    void SetUp() override
    {
        resetMainMenu();
        ApplicationData = INITIAL_APPLICATION_DATA;
        ApplicationData.currentMenu = &MainMenu;
        ApplicationData.runMode = MODE_CONFIGURE;
        ApplicationData.width = 640;
        ApplicationData.height = 480;
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_NE(mkdtemp(dir), nullptr);
        ASSERT_EQ(chdir(dir), 0);
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir(previous), 0);
        std::string rm = std::string("rm -rf ") + dir;
        ASSERT_EQ(system(rm.c_str()), 0);
        resetMainMenu();
        ApplicationData = INITIAL_APPLICATION_DATA;
    }
};

TEST_F(Input, ScreenSaverEndsOnAnyKeyOrButton)
{
    ApplicationData.runMode = MODE_SCREENSAVER;
    EXPECT_EXIT(keyboardFunc(27, 0, 0), ExitedWithCode(0), "");
    EXPECT_EXIT(keyboardFunc('s', 0, 0), ExitedWithCode(0), "");
    EXPECT_EXIT(specialFunc(GLUT_KEY_UP, 0, 0), ExitedWithCode(0), "");
    EXPECT_EXIT(mouseFunc(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 5), ExitedWithCode(0), "");
    EXPECT_EXIT(mouseFunc(GLUT_RIGHT_BUTTON, GLUT_UP, 5, 5), ExitedWithCode(0), "");
    EXPECT_NE(access("VYR.ini", F_OK), 0);  // nothing saved
}

TEST_F(Input, ScreenSaverEndsWhenThePointerTravelsMoreThanTenPixels)
{
    ApplicationData.runMode = MODE_SCREENSAVER;
    passiveMotionFunc(300, 200);  // the first report only sets the reference, wherever it is
    EXPECT_EQ(ApplicationData.mouseStartX, 300);
    EXPECT_EQ(ApplicationData.mouseStartY, 200);
    passiveMotionFunc(307, 203);  // distance 10
    passiveMotionFunc(290, 200);
    passiveMotionFunc(300, 190);
    EXPECT_EQ(ApplicationData.mouseStartX, 300);  // the reference never moves
    EXPECT_EXIT(passiveMotionFunc(306, 205), ExitedWithCode(0), "");
    EXPECT_EXIT(passiveMotionFunc(289, 200), ExitedWithCode(0), "");
}

TEST_F(Input, ConfigureModeIgnoresPointerMovement)
{
    passiveMotionFunc(0, 0);
    passiveMotionFunc(600, 400);
    EXPECT_EQ(ApplicationData.mouseStartX, -1);
}

TEST_F(Input, ShortcutsToggleAFlagTogetherWithItsCheckBox)
{
    keyboardFunc('f', 0, 0);
    EXPECT_EQ(ApplicationData.fullScreen, 1);
    EXPECT_EQ(CheckBoxFullScreen_DATA.value, 1);
    keyboardFunc('d', 0, 0);
    EXPECT_EQ(ApplicationData.doubleBuffered, 0);
    EXPECT_EQ(CheckBoxDoubleBuffered_DATA.value, 0);
    keyboardFunc('m', 0, 0);
    keyboardFunc('m', 0, 0);
    EXPECT_EQ(ApplicationData.multiSample, 0);
    EXPECT_EQ(CheckBoxMultiSample_DATA.value, 0);
    // Upper case goes to the menu, which ignores it.
    MainMenu.visible = 1;
    keyboardFunc('F', 0, 0);
    EXPECT_EQ(ApplicationData.fullScreen, 1);
    // Other keys reach the menu: Escape hides it.
    keyboardFunc(27, 0, 0);
    EXPECT_EQ(MainMenu.visible, 0);
}

TEST_F(Input, ClickMovesEveryPointMirroredHorizontally)
{
    point points[3] = {};
    points[1].colorParam = 0.25f;
    points[1].color[0] = 77;
    ApplicationData.points = points;
    ApplicationData.pointCount = 3;
    mouseFunc(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    EXPECT_EQ(points[2].x, 1.0f);
    EXPECT_EQ(points[2].y, 1.0f);
    mouseFunc(GLUT_LEFT_BUTTON, GLUT_UP, 160, 360);
    for (const point& p : points) {
        EXPECT_EQ(p.x, 0.5f);
        EXPECT_EQ(p.y, -0.5f);
    }
    EXPECT_EQ(points[1].colorParam, 0.25f);
    EXPECT_EQ(points[1].color[0], 77);
    ApplicationData.points = nullptr;
    ApplicationData.pointCount = 0;
    mouseFunc(GLUT_LEFT_BUTTON, GLUT_DOWN, 1, 1);  // no buffer yet: nothing to move
}

TEST_F(Input, QuitSavesNothing)
{
    writeFile("VYR.ini", "old");
    EXPECT_EXIT(keyboardFunc('q', 0, 0), ExitedWithCode(0), "");
    EXPECT_EQ(readFile("VYR.ini"), "old");
}

TEST_F(Input, ResetEmptiesTheFile)
{
    writeFile("VYR.ini", "[DISPLAY]\nRounded points=0\n");
    EXPECT_EXIT(
        {
            resetExecute();
        },
        ExitedWithCode(0), "");
    EXPECT_EQ(readFile("VYR.ini"), "");
    EXPECT_EQ(access("VYR.ini", F_OK), 0);
}

TEST_F(Input, SaveWritesTheMenuAndExits)
{
    FTrackBarDesiredFPS_DATA.value = 77;
    EXPECT_EXIT(keyboardFunc('s', 0, 0), ExitedWithCode(0), "");
    std::string text = readFile("VYR.ini");
    EXPECT_EQ(text.rfind("[VYR Version 1.0]\n", 0), 0u);
    EXPECT_NE(text.find("Requested frame rate: %d=77\n"), std::string::npos);
    EXPECT_EQ(fileCount("."), 1);  // no temporary file left behind
    struct stat st;
    ASSERT_EQ(stat("VYR.ini", &st), 0);
    mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
}

TEST_F(Input, SaveKeepsTheModeOfTheOldFile)
{
    writeFile("VYR.ini", "old");
    chmod("VYR.ini", 0640);
    EXPECT_EQ(writeIniFile(), 1);
    struct stat st;
    ASSERT_EQ(stat("VYR.ini", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(Input, SaveThroughASymbolicLinkReplacesTheFileItNames)
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

TEST_F(Input, SaveKeepsTheOwnerOfTheOldFile)
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

TEST_F(Input, SaveOverAFolderReportsAndLeavesIt)
{
    ASSERT_EQ(mkdir("VYR.ini", 0755), 0);
    writeFile("VYR.ini/keep", "x");
    testing::internal::CaptureStdout();
    int written = writeIniFile();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot write fileVYR.ini\n");
    EXPECT_EQ(written, 0);
    EXPECT_EQ(readFile("VYR.ini/keep"), "x");
    EXPECT_EQ(fileCount("."), 1);
    EXPECT_EXIT(saveExecute(), ExitedWithCode(0), "");
}

TEST_F(Input, FailedWriteLeavesTheOldFileWhole)
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
TEST_F(Input, SaveAndResetOfASpecialFileReportAndGoOn)
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
