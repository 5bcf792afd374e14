// The measurable geometry of menu painting (no OpenGL needed).
#include <gtest/gtest.h>

#include "menu/paint.h"

namespace {

TEST(MenuGeometry, PageFitsWithMargins)
{
    // In 640x480 the large font takes a page of up to 610 pixels and 21 rows.
    EXPECT_TRUE(menuPageFits(610, 21, 20, 640, 480));
    EXPECT_FALSE(menuPageFits(611, 21, 20, 640, 480));
    EXPECT_FALSE(menuPageFits(610, 22, 20, 640, 480));
    EXPECT_TRUE(menuPageFits(0, 0, 12, 30, 42));
}

TEST(MenuGeometry, PanelIsCentredAndNeverStartsOffScreen)
{
    menulayout l = {};
    l.s = 20;
    l.w = 300;
    menuPanelPlace(&l, 14, 640, 480);
    EXPECT_EQ(l.width, 330);
    EXPECT_EQ(l.height, 330);
    EXPECT_EQ(l.left, 155);
    EXPECT_EQ(l.top, 75);
    menuPanelPlace(&l, 0, 641, 481);  // a page without rows: the title alone
    EXPECT_EQ(l.height, 50);
    EXPECT_EQ(l.left, 155);  // 311 / 2, truncated
    EXPECT_EQ(l.top, 215);
    l.s = 12;
    menuPanelPlace(&l, 40, 200, 100);  // larger than the window
    EXPECT_EQ(l.left, 0);
    EXPECT_EQ(l.top, 0);
    EXPECT_EQ(l.width, 330);
    EXPECT_EQ(l.height, 522);
}

TEST(MenuGeometry, TrackBarFillFromNothingToTheWholeBar)
{
    for (int s : {12, 14, 20}) {
        float bw = trackBarWidth(s, 6.0f * s);
        EXPECT_FLOAT_EQ(bw, 5.6f * s);
        EXPECT_EQ(trackBarFill(0.0f, bw), 0);
        EXPECT_EQ(trackBarFill(1.0f, bw), (int)bw) << "s = " << s;
        EXPECT_EQ(trackBarFill(0.5f, bw), (int)(0.5f * bw));
    }
    EXPECT_EQ(trackBarFill(1.0f, 112.0f), 112);  // the last line stands at the bar's end
}

TEST(MenuGeometry, ListBoxArrowsShowTheWaysLeft)
{
    const char* const texts[] = {"a", "b", "c"};
    listbox list = {3, 0, texts, nullptr};
    EXPECT_EQ(listBoxArrows(&list), LISTBOX_RIGHT_ARROW);
    list.selected = 1;
    EXPECT_EQ(listBoxArrows(&list), LISTBOX_LEFT_ARROW | LISTBOX_RIGHT_ARROW);
    list.selected = 2;
    EXPECT_EQ(listBoxArrows(&list), LISTBOX_LEFT_ARROW);
    listbox single = {1, 0, texts, nullptr};
    EXPECT_EQ(listBoxArrows(&single), 0);
}

}  // namespace
