// Input callbacks and the reset, save and cancel commands.
#include <gtest/gtest.h>

#include <GL/glut.h>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/mainmenu.h"
#include "app/commands.h"
#include "app/input.h"
#include "core/appdata.h"
#include "core/windowstate.h"
#include "unit/input_fixture.h"

namespace {

using ::testing::ExitedWithCode;

TEST_F(Input, ScreenSaverEndsOnAnyKeyOrButton)
{
    ApplicationData.runMode = MODE_SCREENSAVER;
    EXPECT_EXIT(keyboardFunc(27, 0, 0), ExitedWithCode(0), "");
    EXPECT_EXIT(keyboardFunc('s', 0, 0), ExitedWithCode(0), "");
    EXPECT_EXIT(specialFunc(GLUT_KEY_UP, 0, 0), ExitedWithCode(0), "");
    EXPECT_EXIT(mouseFunc(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 5), ExitedWithCode(0), "");
    EXPECT_EXIT(mouseFunc(GLUT_RIGHT_BUTTON, GLUT_UP, 5, 5), ExitedWithCode(0), "");
    EXPECT_FALSE(std::filesystem::exists("VYR.ini"));  // nothing saved
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
    // Two monitors, a picture on each: the click counts in the picture under it.
    WindowState.monitorCount = 2;
    WindowState.monitors[0] = {0, 0, 320, 480};
    WindowState.monitors[1] = {320, 0, 320, 480};
    mouseFunc(GLUT_LEFT_BUTTON, GLUT_DOWN, 320 + 80, 360);
    EXPECT_EQ(points[0].x, 0.5f);
    EXPECT_EQ(points[0].y, -0.5f);
    WindowState.monitorCount = 0;
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
    EXPECT_TRUE(std::filesystem::exists("VYR.ini"));
}

TEST_F(Input, SaveWritesTheMenuAndExits)
{
    FTrackBarDesiredFPS_DATA.value = 77;
    EXPECT_EXIT(keyboardFunc('s', 0, 0), ExitedWithCode(0), "");
    std::string text = readFile("VYR.ini");
    EXPECT_EQ(text.rfind("[VYR Version 1.0]\n", 0), 0u);
    EXPECT_NE(text.find("Requested frame rate: %d=77\n"), std::string::npos);
    EXPECT_EQ(fileCount("."), 1);  // no temporary file left behind
}

TEST_F(Input, SaveOverAFolderReportsAndLeavesIt)
{
    std::filesystem::create_directory("VYR.ini");  // already there in a death test's re-run on Windows
    ASSERT_TRUE(std::filesystem::is_directory("VYR.ini"));
    writeFile("VYR.ini/keep", "x");
    testing::internal::CaptureStdout();
    int written = writeIniFile();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot write fileVYR.ini\n");
    EXPECT_EQ(written, 0);
    EXPECT_EQ(readFile("VYR.ini/keep"), "x");
    EXPECT_EQ(fileCount("."), 1);
    EXPECT_EXIT(saveExecute(), ExitedWithCode(0), "");
}

}  // namespace
