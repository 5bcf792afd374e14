// The full-screen mode string and display-mode bits chosen from the menu.
#include <gtest/gtest.h>

#include <GL/glut.h>

#include "app/mainmenu.h"
#include "app/window.h"
#include "core/appdata.h"

namespace {

const windowrequest* ptr(const windowrequest& r) { return &r; }

std::string modeString(int resolution, int bpp, int frequency)
{
    resetMainMenu();
    ListBoxResolution_DATA.selected = resolution;
    ListBoxBPP_DATA.selected = bpp;
    ListBoxFrequency_DATA.selected = frequency;
    char out[GAME_MODE_STRING_SIZE];
    buildGameModeString(out, sizeof out);
    resetMainMenu();
    return out;
}

TEST(GameModeString, DefaultsGiveEmptyString) { EXPECT_EQ(modeString(0, 0, 0), ""); }

TEST(GameModeString, SeparatorsStandEvenWithoutEarlierParts)
{
    EXPECT_EQ(modeString(0, 1, 0), ":16");
    EXPECT_EQ(modeString(0, 0, 2), "@60");
    EXPECT_EQ(modeString(0, 3, 6), ":32@75");
}

TEST(GameModeString, FullStrings)
{
    EXPECT_EQ(modeString(3, 0, 8), "800x600@85");
    EXPECT_EQ(modeString(5, 3, 10), "1280x1024:32@100");
    EXPECT_EQ(modeString(1, 2, 1), "320x240:24@50");
}

TEST(DisplayMode, BitsFollowRequestedFlags)
{
    ApplicationData = INITIAL_APPLICATION_DATA;
    ApplicationData.doubleBuffered = 0;
    EXPECT_EQ(glutDisplayModeFor(ptr(windowRequest())), (unsigned)(GLUT_RGB | GLUT_SINGLE));
    ApplicationData.doubleBuffered = 1;
    EXPECT_EQ(glutDisplayModeFor(ptr(windowRequest())), (unsigned)GLUT_DOUBLE);
    ApplicationData.multiSample = 1;
    EXPECT_EQ(glutDisplayModeFor(ptr(windowRequest())), (unsigned)(GLUT_DOUBLE | GLUT_MULTISAMPLE));
    ApplicationData.doubleBuffered = 0;
    EXPECT_EQ(glutDisplayModeFor(ptr(windowRequest())), (unsigned)GLUT_MULTISAMPLE);
    ApplicationData = INITIAL_APPLICATION_DATA;
}

}  // namespace
