// The change callbacks and the start-up pass that pushes every menu value
// into the state record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/mainmenu.h"
#include "app/window.h"
#include "core/appdata.h"
#include "menu/rowvalue.h"
#include "menu/settings.h"
#include "unit/testfiles.h"

namespace {

struct Callbacks : testing::Test {
    void SetUp() override
    {
        ApplicationData = INITIAL_APPLICATION_DATA;
        resetMainMenu();
    }
    void TearDown() override
    {
        ApplicationData = INITIAL_APPLICATION_DATA;
        resetMainMenu();
    }
};

TEST_F(Callbacks, StartUpPassWithoutFileGivesMenuDefaults)
{
    ApplicationData.runMode = MODE_CONFIGURE;
    menuInit(&MainMenu);
    EXPECT_EQ(ApplicationData.period, 5000);
    EXPECT_EQ(ApplicationData.elasticity, 5.0f);
    EXPECT_EQ(ApplicationData.desiredFPS, 40.0f);
    EXPECT_EQ(ApplicationData.minDegree, 5);
    EXPECT_EQ(ApplicationData.maxDegree, 6);
    EXPECT_EQ(ApplicationData.motionBlur, 1);
    EXPECT_EQ(ApplicationData.luminance, 1.0f);
    EXPECT_EQ(ApplicationData.sharpness, 1.0f);
    EXPECT_EQ(ApplicationData.attenuation, 0.1f);
    EXPECT_EQ(ApplicationData.spaceFrequency, 1.0f);
    EXPECT_EQ(ApplicationData.timeFrequency, 1.0f);
    EXPECT_EQ(ApplicationData.roundedPoints, 1);
    EXPECT_EQ(ApplicationData.doubleBuffered, 1);
    EXPECT_EQ(ApplicationData.multiSample, 0);
    EXPECT_EQ(ApplicationData.fullScreen, 0);
    EXPECT_EQ(ApplicationData.fullScreenParamChanged, 0);
}

TEST_F(Callbacks, ScreenSaverForcesFullScreen)
{
    ApplicationData.runMode = MODE_SCREENSAVER;
    menuInit(&MainMenu);
    EXPECT_EQ(ApplicationData.fullScreen, 1);
    fullScreenChange(0);
    EXPECT_EQ(ApplicationData.fullScreen, 1);
}

// The pass calls the callbacks in menu order; this is the order the
// program's menu must present them in.
TEST_F(Callbacks, MainMenuPresentsCallbacksInStartUpOrder)
{
    const std::vector<void*> expected = {
        (void*)fullScreenChange, (void*)fullScreenParamChange, (void*)fullScreenParamChange,
        (void*)fullScreenParamChange, (void*)doubleBufferedChange, (void*)multiSampleChange,
        (void*)motionBlurChange, (void*)desiredFPSChange, (void*)limitCPUUsageChange,
        (void*)roundedPointsChange, (void*)blendMethodChange, (void*)luminanceChange,
        (void*)sharpnessChange, (void*)attenuationChange, (void*)spaceFrequencyChange,
        (void*)timeFrequencyChange, (void*)periodChange, (void*)elasticityChange,
        (void*)minDegreeChange, (void*)maxDegreeChange};
    std::vector<void*> found;
    for (int p = 0; p < MainMenu.pageCount; p++) {
        menupage* page = MainMenu.pages[p];
        for (int i = 0; i < page->itemCount; i++) {
            menuitem* item = page->items[i];
            switch (item->type) {
            case MENU_CHECKBOX: found.push_back((void*)static_cast<checkbox*>(item->data)->change); break;
            case MENU_LISTBOX: found.push_back((void*)static_cast<listbox*>(item->data)->change); break;
            case MENU_ITRACKBAR: found.push_back((void*)static_cast<itrackbar*>(item->data)->change); break;
            case MENU_FTRACKBAR: found.push_back((void*)static_cast<ftrackbar*>(item->data)->change); break;
            default: break;
            }
        }
    }
    EXPECT_EQ(found, expected);
}

TEST_F(Callbacks, UnitConversions)
{
    luminanceChange(150.0f);
    EXPECT_EQ(ApplicationData.luminance, 1.5f);
    sharpnessChange(37.0f);
    EXPECT_EQ(ApplicationData.sharpness, (float)(37.0f * 0.01));
    attenuationChange(10.0f);
    EXPECT_EQ(ApplicationData.attenuation, 0.1f);
    periodChange(5.0f);
    EXPECT_EQ(ApplicationData.period, 5000);
    periodChange(0.7f);  // the float nearest 0.7 is just below it
    EXPECT_EQ(ApplicationData.period, 699);
    desiredFPSChange(75);
    EXPECT_EQ(ApplicationData.desiredFPS, 75.0f);
    spaceFrequencyChange(0.02f);
    EXPECT_EQ(ApplicationData.spaceFrequency, 0.02f);
}

TEST_F(Callbacks, FullScreenParametersMatterOnlyWhileFullScreen)
{
    fullScreenParamChange(3);
    EXPECT_EQ(ApplicationData.fullScreenParamChanged, 0);
    ApplicationData.activeFullScreen = 1;
    fullScreenParamChange(0);
    EXPECT_EQ(ApplicationData.fullScreenParamChanged, 1);
}

TEST_F(Callbacks, DegreeLimitsRefuseCrossingValues)
{
    ApplicationData.minDegree = 5;
    ApplicationData.maxDegree = 6;
    minDegreeChange(7);
    EXPECT_EQ(ApplicationData.minDegree, 5);
    EXPECT_EQ(ITrackBarMinDegree_DATA.value, 6);
    maxDegreeChange(4);
    EXPECT_EQ(ApplicationData.maxDegree, 6);
    EXPECT_EQ(ITrackBarMaxDegree_DATA.value, 6);
    minDegreeChange(6);
    maxDegreeChange(6);
    EXPECT_EQ(ApplicationData.minDegree, 6);
    EXPECT_EQ(ApplicationData.maxDegree, 6);
}

// The rules that tie settings together, whichever source gives the values:
// VYR.ini at start-up, then changes from the menu (the row set, then its
// callback), then a window that could not get multisampling. -1: not checked.
TEST_F(Callbacks, CrossFieldRules)
{
    struct change { menuitem* row; double value; };
    const std::string degrees = "[ATTRACTOR]\nMin attractor degree : %d=", andMax = "\nMax attractor degree : %d=";
    const std::string vyr = "[VYR Version 1.0]\n";
    struct { const char* what; int mode; std::string file; std::vector<change> changes; bool noMultiSample;
             int min, max, minRow, maxRow, fullScreen, multiSample, multiSampleBox; } cases[] = {
        {"min crossing max", MODE_CONFIGURE, "", {{&ITrackBarMinDegree, 7}}, false, 5, 6, 6, 6, 0, -1, -1},
        {"max crossing min", MODE_CONFIGURE, "", {{&ITrackBarMaxDegree, 4}}, false, 5, 6, 5, 6, 0, -1, -1},
        {"raised, max first", MODE_CONFIGURE, "", {{&ITrackBarMaxDegree, 9}, {&ITrackBarMinDegree, 8}}, false,
         8, 9, 8, 9, -1, -1, -1},
        {"raised, min first", MODE_CONFIGURE, "", {{&ITrackBarMinDegree, 8}, {&ITrackBarMaxDegree, 9}}, false,
         5, 9, 6, 9, -1, -1, -1},
        {"lowered, min first", MODE_CONFIGURE, "", {{&ITrackBarMinDegree, 3}, {&ITrackBarMaxDegree, 4}}, false,
         3, 4, 3, 4, -1, -1, -1},
        {"lowered, max first", MODE_CONFIGURE, "", {{&ITrackBarMaxDegree, 4}, {&ITrackBarMinDegree, 3}}, false,
         3, 6, 3, 6, -1, -1, -1},
        {"file in order", MODE_CONFIGURE, degrees + "3" + andMax + "15", {}, false, 3, 15, 3, 15, -1, -1, -1},
        {"file crossed", MODE_CONFIGURE, degrees + "10" + andMax + "7", {}, false, 10, 10, 10, 10, -1, -1, -1},
        {"file crossed, then max from the menu", MODE_CONFIGURE, degrees + "9" + andMax + "4",
         {{&ITrackBarMaxDegree, 12}}, false, 9, 12, 9, 12, -1, -1, -1},
        {"screen saver, file off", MODE_SCREENSAVER, vyr + "Fullscreen (F)=0", {}, false, 5, 6, 5, 6, 1, -1, -1},
        {"screen saver, menu off", MODE_SCREENSAVER, "", {{&CheckBoxFullScreen, 0}}, false, 5, 6, 5, 6, 1, -1, -1},
        {"configure, file on, menu off", MODE_CONFIGURE, vyr + "Fullscreen (F)=1", {{&CheckBoxFullScreen, 0}}, false,
         5, 6, 5, 6, 0, -1, -1},
        {"multisampling asked for", MODE_CONFIGURE, vyr + "Multi sample (M)=1", {}, false, 5, 6, 5, 6, -1, 1, 1},
        {"multisampling not available", MODE_CONFIGURE, vyr + "Multi sample (M)=1", {}, true, 5, 6, 5, 6, -1, 0, 0},
        {"multisampling not available, asked again", MODE_CONFIGURE, "", {{&CheckBoxMultiSample, 1}}, true,
         5, 6, 5, 6, -1, 0, 0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        ApplicationData = INITIAL_APPLICATION_DATA;
        resetMainMenu();
        ApplicationData.runMode = c.mode;
        if (!c.file.empty()) {
            FILE* stream = textStream(c.file + "\n");
            ASSERT_NE(stream, nullptr);
            menuLoad(&MainMenu, stream);
            fclose(stream);
        }
        menuInit(&MainMenu);
        for (const change& k : c.changes) {
            rowValueOps(k.row)->write(k.row, k.value);
            menuRowChanged(k.row);
        }
        if (c.noMultiSample) {
            testing::internal::CaptureStdout();  // the console line
            cancelMultiSample();
            testing::internal::GetCapturedStdout();
        }
        EXPECT_EQ(ApplicationData.minDegree, c.min);
        EXPECT_EQ(ApplicationData.maxDegree, c.max);
        EXPECT_EQ(ITrackBarMinDegree_DATA.value, c.minRow);
        EXPECT_EQ(ITrackBarMaxDegree_DATA.value, c.maxRow);
        if (c.fullScreen >= 0) { EXPECT_EQ(ApplicationData.fullScreen, c.fullScreen); }
        if (c.multiSample >= 0) { EXPECT_EQ(ApplicationData.multiSample, c.multiSample); }
        if (c.multiSampleBox >= 0) { EXPECT_EQ(CheckBoxMultiSample_DATA.value, c.multiSampleBox); }
    }
}

}  // namespace
