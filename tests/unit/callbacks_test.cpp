// The change callbacks and the start-up pass that pushes every menu value
// into the state record.
#include <gtest/gtest.h>

#include <vector>

#include "app/mainmenu.h"
#include "app/mainmenu.h"
#include "core/appdata.h"

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

}  // namespace
