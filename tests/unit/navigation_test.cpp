// Keyboard navigation of the overlay menu.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/mainmenu.h"
#include "menu/navigation.h"
#include "core/platform.h"
#include "core/appdata.h"

namespace {

int Modifiers = 0;
int fakeModifiers() { return Modifiers; }

std::vector<float> Calls;  // values the test rows' callbacks received
void recordInt(int v) { Calls.push_back((float)v); }
void recordFloat(float v) { Calls.push_back(v); }

class Navigation : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMainMenu();
        ApplicationData = INITIAL_APPLICATION_DATA;
        ApplicationData.currentMenu = &MainMenu;
        Platform = SYSTEM_PLATFORM;
        Platform.modifiers = fakeModifiers;
        Modifiers = 0;
        Calls.clear();
        MainMenu.visible = 1;
    }
    void TearDown() override
    {
        Platform = SYSTEM_PLATFORM;
        resetMainMenu();
        ApplicationData = INITIAL_APPLICATION_DATA;
    }
    void keys(std::initializer_list<int> specials)
    {
        for (int k : specials) menuSpecial(&MainMenu, k);
    }
};

TEST_F(Navigation, EscapeTogglesVisibilityAndKeepsPageAndHighlight)
{
    keys({GLUT_KEY_RIGHT, GLUT_KEY_DOWN, GLUT_KEY_DOWN});
    menuKeyboard(&MainMenu, 27);
    EXPECT_EQ(MainMenu.visible, 0);
    menuKeyboard(&MainMenu, 27);
    EXPECT_EQ(MainMenu.visible, 1);
    EXPECT_EQ(MainMenu.currentPage, 1);
    EXPECT_EQ(MenuPageDisplay.currentItem, 2);
}

TEST_F(Navigation, HiddenMenuIgnoresEveryOtherKey)
{
    keys({GLUT_KEY_DOWN});  // highlight "Fullscreen (F)"
    MainMenu.visible = 0;
    menuKeyboard(&MainMenu, 13);
    menuKeyboard(&MainMenu, ' ');
    keys({GLUT_KEY_DOWN, GLUT_KEY_RIGHT, GLUT_KEY_UP});
    EXPECT_EQ(CheckBoxFullScreen_DATA.value, 0);
    EXPECT_EQ(MenuPageVYR.currentItem, 1);
    EXPECT_EQ(MainMenu.currentPage, 0);
}

TEST_F(Navigation, UpAndDownSkipSeparatorsAndNeverWrap)
{
    keys({GLUT_KEY_UP});
    EXPECT_EQ(MenuPageVYR.currentItem, 0);  // Up on the title row does nothing
    keys({GLUT_KEY_DOWN});
    EXPECT_EQ(MenuPageVYR.currentItem, 1);  // "Fullscreen (F)"
    MenuPageVYR.currentItem = 10;           // "Limit CPU usage"
    keys({GLUT_KEY_DOWN});
    EXPECT_EQ(MenuPageVYR.currentItem, 12);  // over the separator to "Reset settings (R)"
    keys({GLUT_KEY_UP});
    EXPECT_EQ(MenuPageVYR.currentItem, 10);
    MenuPageVYR.currentItem = 14;  // "Cancel (Q)", the last row
    keys({GLUT_KEY_DOWN});
    EXPECT_EQ(MenuPageVYR.currentItem, 14);
    MenuPageVYR.currentItem = 1;
    keys({GLUT_KEY_UP});
    EXPECT_EQ(MenuPageVYR.currentItem, 0);
}

TEST_F(Navigation, UpSkipsUnselectableRowsToTheTitle)
{
    // A page whose first rows are unselectable: Up from below them lands on the title.
    checkbox box = {0, nullptr};
    menuitem text = {MENU_STATICTEXT, 0, "text", nullptr};
    menuitem row = {MENU_CHECKBOX, 7, "box", &box};  // any nonzero selectable counts
    menuitem* items[] = {&Separator, &text, &row};
    menupage page = {"P", 3, 0, items};
    menupage* pages[] = {&page};
    menu m = {1, 1, 0, pages};
    menuSpecial(&m, GLUT_KEY_DOWN);
    EXPECT_EQ(page.currentItem, 3);
    menuSpecial(&m, GLUT_KEY_UP);
    EXPECT_EQ(page.currentItem, 0);
}

TEST_F(Navigation, PagesTurnOnlyFromTheTitleRowAndNeverWrap)
{
    keys({GLUT_KEY_LEFT});
    EXPECT_EQ(MainMenu.currentPage, 0);
    keys({GLUT_KEY_RIGHT, GLUT_KEY_RIGHT, GLUT_KEY_RIGHT, GLUT_KEY_RIGHT});
    EXPECT_EQ(MainMenu.currentPage, 3);
    keys({GLUT_KEY_LEFT, GLUT_KEY_LEFT});
    EXPECT_EQ(MainMenu.currentPage, 1);
    // On a row, Left and Right change the row and stay on the page.
    keys({GLUT_KEY_DOWN, GLUT_KEY_DOWN, GLUT_KEY_RIGHT});  // "Blend color method :"
    EXPECT_EQ(MainMenu.currentPage, 1);
    EXPECT_EQ(ListBoxBlendMethod_DATA.selected, 1);
    EXPECT_EQ(ApplicationData.blendMethod, 1);
    keys({GLUT_KEY_LEFT, GLUT_KEY_LEFT});
    EXPECT_EQ(MainMenu.currentPage, 1);
    EXPECT_EQ(ListBoxBlendMethod_DATA.selected, 0);
}

TEST_F(Navigation, StatisticsPageKeepsTheTitleHighlighted)
{
    MainMenu.currentPage = 3;
    keys({GLUT_KEY_DOWN, GLUT_KEY_DOWN});
    EXPECT_EQ(MenuPageStatistics.currentItem, 0);
    menuKeyboard(&MainMenu, 13);  // nothing to operate
    keys({GLUT_KEY_LEFT});
    EXPECT_EQ(MainMenu.currentPage, 2);
    keys({GLUT_KEY_RIGHT});
    EXPECT_EQ(MainMenu.currentPage, 3);
}

TEST_F(Navigation, EnterAndSpaceOperateCheckBoxesAndListBoxes)
{
    keys({GLUT_KEY_DOWN});
    menuKeyboard(&MainMenu, 13);
    EXPECT_EQ(CheckBoxFullScreen_DATA.value, 1);
    EXPECT_EQ(ApplicationData.fullScreen, 1);
    menuKeyboard(&MainMenu, ' ');
    EXPECT_EQ(CheckBoxFullScreen_DATA.value, 0);
    EXPECT_EQ(ApplicationData.fullScreen, 0);
    menuKeyboard(&MainMenu, 'x');  // other keys do nothing
    EXPECT_EQ(CheckBoxFullScreen_DATA.value, 0);

    // "Motion blur" at its last choice wraps to the first and reports 0.
    MenuPageVYR.currentItem = 8;
    ListBoxMotionBlur_DATA.selected = 6;
    ApplicationData.motionBlur = 6;
    menuKeyboard(&MainMenu, 13);
    EXPECT_EQ(ListBoxMotionBlur_DATA.selected, 0);
    EXPECT_EQ(ApplicationData.motionBlur, 0);
}

TEST_F(Navigation, EnterDoesNothingOnTrackBarsAndTheTitle)
{
    itrackbar ibar = {0, 10, 5, 1, "i %d", recordInt};
    ftrackbar fbar = {0, 10, 5, 1, "f %f", recordFloat};
    menuitem irow = {MENU_ITRACKBAR, 1, "i %d", &ibar};
    menuitem frow = {MENU_FTRACKBAR, 1, "f %f", &fbar};
    menuItemKeyboard(&irow, 13);
    menuItemKeyboard(&frow, ' ');
    menuItemKeyboard(&Separator, 13);
    EXPECT_TRUE(Calls.empty());
    EXPECT_EQ(ibar.value, 5);
    menuKeyboard(&MainMenu, 13);  // title row highlighted
    EXPECT_EQ(MainMenu.currentPage, 0);
}

TEST_F(Navigation, EnterOnCancelRunsQuit)
{
    MenuPageVYR.currentItem = 14;
    EXPECT_EXIT(menuKeyboard(&MainMenu, 13), ::testing::ExitedWithCode(0), "");
}

TEST_F(Navigation, ListBoxArrowsStopAtEitherEndWithoutCallback)
{
    const char* const texts[] = {"a", "b", "c"};
    listbox list = {3, 0, texts, recordInt};
    menuitem row = {MENU_LISTBOX, 1, "list", &list};
    menuItemSpecial(&row, GLUT_KEY_LEFT);
    EXPECT_TRUE(Calls.empty());
    Modifiers = 1;  // modifiers and page keys do nothing to a list box
    menuItemSpecial(&row, GLUT_KEY_RIGHT);
    menuItemSpecial(&row, GLUT_KEY_PAGE_UP);
    EXPECT_EQ(list.selected, 1);
    menuItemSpecial(&row, GLUT_KEY_RIGHT);
    menuItemSpecial(&row, GLUT_KEY_RIGHT);
    EXPECT_EQ(list.selected, 2);
    EXPECT_EQ(Calls, (std::vector<float>{1, 2}));
}

TEST_F(Navigation, FrameRateStepsWithPageKeysAndModifiers)
{
    MenuPageVYR.currentItem = 9;  // "Requested frame rate: %d", 5 to 120 at 40
    keys({GLUT_KEY_PAGE_UP});
    EXPECT_EQ(FTrackBarDesiredFPS_DATA.value, 50);
    FTrackBarDesiredFPS_DATA.value = 40;
    Modifiers = GLUT_ACTIVE_SHIFT;
    keys({GLUT_KEY_PAGE_UP});
    EXPECT_EQ(FTrackBarDesiredFPS_DATA.value, 120);  // clamped from 140
    EXPECT_FLOAT_EQ(ApplicationData.desiredFPS, 120.0f);
    FTrackBarDesiredFPS_DATA.value = 40;
    keys({GLUT_KEY_LEFT});
    EXPECT_EQ(FTrackBarDesiredFPS_DATA.value, 30);
    Modifiers = 0;
    keys({GLUT_KEY_RIGHT, GLUT_KEY_PAGE_DOWN});
    EXPECT_EQ(FTrackBarDesiredFPS_DATA.value, 21);
    Modifiers = GLUT_ACTIVE_CTRL;
    keys({GLUT_KEY_PAGE_DOWN});
    EXPECT_EQ(FTrackBarDesiredFPS_DATA.value, 5);
}

TEST_F(Navigation, TrackBarAtABoundStaysAndStillReportsIt)
{
    itrackbar ibar = {3, 15, 3, 1, "i %d", recordInt};
    menuitem irow = {MENU_ITRACKBAR, 1, "i %d", &ibar};
    menuItemSpecial(&irow, GLUT_KEY_LEFT);
    menuItemSpecial(&irow, GLUT_KEY_PAGE_DOWN);
    EXPECT_EQ(ibar.value, 3);
    ftrackbar fbar = {0.5f, 20, 20, 0.1f, "f %f", recordFloat};
    menuitem frow = {MENU_FTRACKBAR, 1, "f %f", &fbar};
    menuItemSpecial(&frow, GLUT_KEY_RIGHT);
    EXPECT_EQ(fbar.value, 20.0f);
    EXPECT_EQ(Calls, (std::vector<float>{3, 3, 20}));
}

TEST_F(Navigation, IntegerStepNearIntMaxDoesNotWrap)
{
    itrackbar ibar = {0, 2147483647, 2147483000, 1000, "i %d", recordInt};
    menuitem irow = {MENU_ITRACKBAR, 1, "i %d", &ibar};
    Modifiers = 1;
    menuItemSpecial(&irow, GLUT_KEY_PAGE_UP);
    EXPECT_EQ(ibar.value, 2147483647);
}

TEST_F(Navigation, FloatStepsAccumulateInSinglePrecision)
{
    MainMenu.currentPage = 1;
    MenuPageDisplay.currentItem = 6;  // "Attenuation : %.1f%%", 10 step 0.1
    float expected = 10.0f;
    for (int i = 0; i < 25; i++) {
        keys({GLUT_KEY_RIGHT});
        expected = expected + 1.0f * 0.1f;
    }
    EXPECT_EQ(FTrackBarAttenuation_DATA.value, expected);  // bit-exact, not snapped
    Modifiers = 1;
    keys({GLUT_KEY_PAGE_DOWN});
    expected = expected - 100.0f * 0.1f;
    EXPECT_EQ(FTrackBarAttenuation_DATA.value, expected);
}

TEST_F(Navigation, OtherSpecialKeysReachTheRowAndChangeNothing)
{
    MenuPageVYR.currentItem = 9;
    keys({GLUT_KEY_HOME, GLUT_KEY_END, GLUT_KEY_F1});
    EXPECT_EQ(FTrackBarDesiredFPS_DATA.value, 40);
    EXPECT_EQ(MenuPageVYR.currentItem, 9);
    EXPECT_EQ(MainMenu.currentPage, 0);
}

}  // namespace
