// The whole-menu operations menuInit and findMenuItem.
#include <gtest/gtest.h>

#include <vector>

#include "app/mainmenu.h"
#include "menu/menu.h"

namespace {

std::vector<int> Calls;  // values received, in call order
void recordInt(int v) { Calls.push_back(v); }
void recordFloat(float v) { Calls.push_back((int)(v * 10)); }
int Executed = 0;
void command() { Executed++; }

TEST(MenuInit, CallsEachValueRowOnceInOrderAndNeverACommand)
{
    Calls.clear();
    Executed = 0;
    statictext run = {command};
    checkbox box = {1, recordInt};
    checkbox silentBox = {1, nullptr};
    const char* const choices[] = {"a", "b", "c"};
    listbox list = {3, 2, choices, recordInt};
    listbox silentList = {3, 1, choices, nullptr};
    itrackbar ibar = {0, 50, 42, 1, "i %d", recordInt};
    itrackbar silentIbar = {0, 50, 42, 1, "i %d", nullptr};
    ftrackbar fbar = {0, 10, 2.5f, 0.5f, "f %f", recordFloat};
    ftrackbar silentFbar = {0, 10, 2.5f, 0.5f, "f %f", nullptr};
    menuitem sep = {MENU_SEPARATOR, 0, "", nullptr};
    menuitem text = {MENU_STATICTEXT, 1, "run", &run};
    menuitem rows[] = {
        {MENU_CHECKBOX, 1, "box", &box},      {MENU_CHECKBOX, 1, "box0", &silentBox},
        {MENU_LISTBOX, 1, "list", &list},     {MENU_LISTBOX, 1, "list0", &silentList},
        {MENU_ITRACKBAR, 1, "i", &ibar},      {MENU_ITRACKBAR, 1, "i0", &silentIbar},
        {MENU_FTRACKBAR, 1, "f", &fbar},      {MENU_FTRACKBAR, 1, "f0", &silentFbar},
        {99, 1, "unknown", nullptr}};
    menuitem* first[] = {&text, &sep, &rows[0], &rows[1], &rows[2], &rows[3]};
    menuitem* second[] = {&rows[4], &rows[5], &sep, &rows[6], &rows[7], &rows[8], &rows[0]};
    menupage pages[] = {{"one", 6, 0, first}, {"two", 7, 0, second}};
    menupage* pagePointers[] = {&pages[0], &pages[1]};
    menu m = {0, 2, 0, pagePointers};

    menuInit(&m);
    // A record standing on two rows is told twice.
    EXPECT_EQ(Calls, (std::vector<int>{1, 2, 42, 25, 1}));
    EXPECT_EQ(Executed, 0);
}

TEST(MenuInit, PageOfSeparatorsAndTextsMakesNoCall)
{
    Calls.clear();
    menuitem* items[] = {&Separator, &StaticTextFrame, &Separator};
    menupage page = {"p", 3, 0, items};
    menupage* pages[] = {&page};
    menu m = {0, 1, 0, pages};
    menuInit(&m);
    EXPECT_TRUE(Calls.empty());
}

TEST(FindMenuItem, MatchesPageAndLabelExactly)
{
    EXPECT_EQ(findMenuItem(&MainMenu, "DISPLAY", "Luminance : %.0f%%"), &FTrackBarLuminance);
    EXPECT_EQ(findMenuItem(&MainMenu, "DISPLAY", "Luminance"), nullptr);
    EXPECT_EQ(findMenuItem(&MainMenu, "display", "Luminance : %.0f%%"), nullptr);
    EXPECT_EQ(findMenuItem(&MainMenu, "VYR Version 1.0", ""), &Separator);
    EXPECT_EQ(findMenuItem(&MainMenu, "ATTRACTOR", "Motion blur"), nullptr);
    EXPECT_EQ(findMenuItem(&MainMenu, "VYR Version 1.0", "Motion blur"), &ListBoxMotionBlur);
}

TEST(FindMenuItem, LaterPageWithSameTitleIsSearched)
{
    menuitem a = {MENU_STATICTEXT, 0, "a", nullptr};
    menuitem b = {MENU_STATICTEXT, 0, "b", nullptr};
    menuitem b2 = {MENU_STATICTEXT, 0, "b", nullptr};
    menuitem* firstItems[] = {&a};
    menuitem* secondItems[] = {&b};
    menuitem* thirdItems[] = {&b2};
    menupage pages[] = {{"same", 1, 0, firstItems}, {"same", 1, 0, secondItems}, {"same", 1, 0, thirdItems}};
    menupage* pagePointers[] = {&pages[0], &pages[1], &pages[2]};
    menu m = {0, 3, 0, pagePointers};
    EXPECT_EQ(findMenuItem(&m, "same", "b"), &b);
    EXPECT_EQ(findMenuItem(&m, "same", "a"), &a);
    EXPECT_EQ(findMenuItem(&m, "same", "c"), nullptr);
}

}  // namespace
