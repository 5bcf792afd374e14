// Run modes, switch matching and the settings pass of start-up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/mainmenu.h"
#include "app/cmdline.h"
#include "app/startup.h"
#include "unit/cmdline_seam.h"
#include "core/appdata.h"
#include "unit/testfiles.h"

static int modeOf(std::initializer_list<const char*> args)
{
    std::vector<char*> argv = {const_cast<char*>("vyr")};
    for (const char* a : args) argv.push_back(const_cast<char*>(a));
    return screenSaverMode((int)argv.size(), argv.data());
}

TEST(RunMode, NoArgumentIsScreenSaver) { EXPECT_EQ(modeOf({}), MODE_SCREENSAVER); }

TEST(RunMode, SwitchesMatchAsPrefixes)
{
    EXPECT_EQ(modeOf({"/c:1234"}), MODE_CONFIGURE);
    EXPECT_EQ(modeOf({"-Config"}), MODE_CONFIGURE);
    EXPECT_EQ(modeOf({"config"}), MODE_CONFIGURE);
    EXPECT_EQ(modeOf({"/p"}), MODE_PREVIEW);
    EXPECT_EQ(modeOf({"p1"}), MODE_PREVIEW);
    EXPECT_EQ(modeOf({"preview"}), MODE_PREVIEW);
    EXPECT_EQ(modeOf({"cp"}), MODE_CONFIGURE);
    EXPECT_EQ(modeOf({"pc"}), MODE_PREVIEW);
}

TEST(RunMode, FirstMatchingArgumentDecides)
{
    EXPECT_EQ(modeOf({"/p", "1234"}), MODE_PREVIEW);
    EXPECT_EQ(modeOf({"x", "/p", "/c"}), MODE_PREVIEW);
    EXPECT_EQ(modeOf({"1234", "/C"}), MODE_CONFIGURE);
}

// The control panel's window after the switch: /p HWND, /p:HWND, /c:HWND.
TEST(RunMode, WindowAfterTheSwitch)
{
    struct row {
        std::vector<const char*> args;
        int mode;
        unsigned long preview, owner;
    };
    const row rows[] = {
        {{"/p", "1234"}, MODE_PREVIEW, 1234, 0},
        {{"/p:5678"}, MODE_PREVIEW, 5678, 0},
        {{"/c:1234"}, MODE_CONFIGURE, 0, 1234},
        {{"/c", "1234"}, MODE_CONFIGURE, 0, 0},     // the owner only after a colon
        {{"/p", "12ab"}, MODE_PREVIEW, 0, 0},       // malformed: none
        {{"/p:"}, MODE_PREVIEW, 0, 0},
        {{"/c:0"}, MODE_CONFIGURE, 0, 0},
        {{"/p", "/c:1234"}, MODE_PREVIEW, 0, 0},    // the first switch decides
        {{"/p", "1234", "--luminance", "150"}, MODE_PREVIEW, 1234, 0},
    };
    static commandline c;
    for (const row& r : rows) {
        std::vector<char*> argv = {const_cast<char*>("vyr")};
        for (const char* a : r.args) argv.push_back(const_cast<char*>(a));
        readCommandLine(&MainMenu, (int)argv.size(), argv.data(), nullptr, &c);
        EXPECT_EQ(c.runMode, r.mode) << r.args[0];
        EXPECT_EQ(c.previewWindow, r.preview) << r.args[0];
        EXPECT_EQ(c.ownerWindow, r.owner) << r.args[0];
        EXPECT_EQ(c.settingCount, r.args.size() > 2 ? 1 : 0) << r.args[0];
    }
}

TEST(RunMode, UnmatchedArgumentsAreSkipped)
{
    EXPECT_EQ(modeOf({"/s"}), MODE_SCREENSAVER);
    EXPECT_EQ(modeOf({""}), MODE_SCREENSAVER);
    EXPECT_EQ(modeOf({"/x", "1234"}), MODE_SCREENSAVER);
}

TEST(StringMatch, StrcmpleftIsPrefixTest)
{
    EXPECT_EQ(strcmpleft("", "anything"), 1);
    EXPECT_EQ(strcmpleft("", ""), 1);
    EXPECT_EQ(strcmpleft("/c", "/c:1"), 1);
    EXPECT_EQ(strcmpleft("/c", "/C"), 0);
    EXPECT_EQ(strcmpleft("/c", "/"), 0);  // s ends before the prefix
    EXPECT_EQ(strcmpleft("abc", "abc"), 1);
}

TEST(StringMatch, FindstrTriesEveryEntry)
{
    const char* const list[] = {"-P", "/P", "p", nullptr};
    const char* const empty[] = {nullptr};
    EXPECT_EQ(findstr("p1", list), 1);
    EXPECT_EQ(findstr("/Px", list), 1);
    EXPECT_EQ(findstr("/p", list), 0);
    EXPECT_EQ(findstr("", list), 0);
    EXPECT_EQ(findstr("p", empty), 0);
}

// readIniFile in a fresh folder: the message when the file cannot be read
// (missing, or a folder of that name), and the callback pass in every case.
// Pipes and devices: startup_posix_test.cpp.
TEST(ReadIniFile, MissingOrUnreadableFileIsReportedAndDefaultsApply)
{
    scopedTempFolder folder("vyr-startup");
    ASSERT_TRUE(folder.ok());
    for (bool asFolder : {false, true}) {
        resetMainMenu();
        ApplicationData = INITIAL_APPLICATION_DATA;
        ApplicationData.currentMenu = &MainMenu;
        if (asFolder) {
            ASSERT_TRUE(std::filesystem::create_directory("VYR.ini"));
        }
        testing::internal::CaptureStdout();
        readIniFile();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot read file VYR.ini\n") << asFolder;
        EXPECT_EQ(ApplicationData.period, 5000);
        EXPECT_EQ(ApplicationData.maxDegree, 6);
        std::error_code e;
        std::filesystem::remove_all("VYR.ini", e);
    }
    resetMainMenu();
    ApplicationData = INITIAL_APPLICATION_DATA;
}
