// Menu painting on a real GL context: font choice and layout with the GLUT
// fonts, the panel and page arrows in the pixels, and the state left as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "display/glut_test.h"
#include "app/mainmenu.h"
#include "menu/paint.h"
#include "core/appdata.h"

namespace {

constexpr int W = 640;
constexpr int H = 480;

// Reads a pixel in menu coordinates (origin top-left).
rgb menuPixel(float x, float y) { return readPixel((int)x, H - 1 - (int)y); }

bool near(rgb p, int r, int g, int b, int tolerance = 3)
{
    return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance && std::abs(p.b - b) <= tolerance;
}

class MenuPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMainMenu();
        ApplicationData = INITIAL_APPLICATION_DATA;
        createTestWindow(W, H);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_BLEND);  // as the frame renderer leaves it
        MainMenu.visible = 1;
    }
    void TearDown() override { resetMainMenu(); }
};

TEST_F(MenuPaint, LargestFontThatFitsAndTheSmallestOtherwise)
{
    menulayout l = menuPageLayout(&MenuPageVYR, W, H);
    EXPECT_EQ(l.s, 20);
    EXPECT_EQ(l.font, menuFont(2));
    EXPECT_EQ(l.width, l.w + 30);
    EXPECT_EQ(l.height, 15 * 20 + 30);
    EXPECT_EQ(l.left, (W - l.width) / 2);
    EXPECT_EQ(l.top, (H - l.height) / 2);

    l = menuPageLayout(&MenuPageVYR, 200, 150);
    EXPECT_EQ(l.s, 12);
    EXPECT_EQ(l.top, 0);
    EXPECT_EQ(l.left, 0);
}

TEST_F(MenuPaint, MeasuringFormatsTrackBarLabels)
{
    menuPageLayout(&MenuPageAttractor, W, H);
    menuPageLayout(&MenuPageDisplay, W, H);
    EXPECT_STREQ(FTrackBarPeriod_DATA.text, "Cycle length : 5.0 sec");
    EXPECT_STREQ(ITrackBarMinDegree_DATA.text, "Min attractor degree : 5");
    EXPECT_STREQ(FTrackBarLuminance_DATA.text, "Luminance : 100%");
}

TEST_F(MenuPaint, EmptyStatisticsPageIsAsWideAsItsTitle)
{
    menulayout l = menuPageLayout(&MenuPageStatistics, W, H);
    EXPECT_EQ(l.w, l.titleBox);
    EXPECT_EQ(l.titleBox, strWidth(l.font, "      STATISTICS      ") + 2 * l.s);
}

TEST_F(MenuPaint, DrawsTheTranslucentPanelAndLeavesTheStateAsItWas)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 3, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(30, 0, 0, 1);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    glLineWidth(3);
    glBlendFunc(GL_ONE, GL_ONE);
    GLfloat projection[16], modelview[16], color[4], lineWidth;
    GLint mode, src, dst, projectionDepth, modelviewDepth;
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_CURRENT_COLOR, color);
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionDepth);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelviewDepth);

    menuDisplay(&MainMenu, W, H);

    GLfloat after[16], colorAfter[4], lineWidthAfter;
    GLint value;
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    EXPECT_EQ(memcmp(after, projection, sizeof after), 0);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(memcmp(after, modelview, sizeof after), 0);
    glGetFloatv(GL_CURRENT_COLOR, colorAfter);
    EXPECT_EQ(memcmp(colorAfter, color, sizeof color), 0);
    glGetFloatv(GL_LINE_WIDTH, &lineWidthAfter);
    EXPECT_EQ(lineWidthAfter, lineWidth);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, mode);
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, src);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, dst);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &value);
    EXPECT_EQ(value, projectionDepth);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &value);
    EXPECT_EQ(value, modelviewDepth);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);

    // The panel's fill, blended over black, below the last row; nothing outside it.
    menulayout l = menuPageLayout(&MenuPageVYR, W, H);
    rgb inside = menuPixel(l.left + l.width / 2.0f, l.top + l.height - 6);
    EXPECT_TRUE(near(inside, 50 * 100 / 255, 70 * 100 / 255, 50 * 100 / 255))
        << inside.r << "," << inside.g << "," << inside.b;
    EXPECT_TRUE(near(menuPixel(l.left - 5, l.top + 40), 0, 0, 0));
    EXPECT_TRUE(near(menuPixel(l.left + l.width + 5, l.top + 40), 0, 0, 0));
    // Square top-left corner, rounded bottom-right corner.
    EXPECT_FALSE(near(menuPixel(l.left + 1, l.top + 1), 0, 0, 0));
    EXPECT_TRUE(near(menuPixel(l.left + l.width - 2, l.top + l.height - 2), 0, 0, 0));
}

TEST_F(MenuPaint, TitleArrowsPointToTheNeighbouringPages)
{
    // First page, title highlighted: a right arrow in the highlight colour, no left arrow.
    menuDisplay(&MainMenu, W, H);
    menulayout l = menuPageLayout(&MenuPageVYR, W, H);
    float s = (float)l.s;
    float rightCell = l.left + 15 + l.w - s;
    float leftCell = l.left + 15;
    EXPECT_TRUE(near(menuPixel(rightCell + 0.4f * s, l.top + 0.65f * s), 255, 200, 80, 1));
    EXPECT_FALSE(near(menuPixel(leftCell + 0.6f * s, l.top + 0.65f * s), 255, 200, 80, 60));

    // A row highlighted: the arrow takes the normal colour, opaque.
    MenuPageVYR.currentItem = 1;
    glClear(GL_COLOR_BUFFER_BIT);
    menuDisplay(&MainMenu, W, H);
    EXPECT_TRUE(near(menuPixel(rightCell + 0.4f * s, l.top + 0.65f * s), 255, 255, 255, 1));

    // Last page: a left arrow only.
    MainMenu.currentPage = 3;
    glClear(GL_COLOR_BUFFER_BIT);
    menuDisplay(&MainMenu, W, H);
    l = menuPageLayout(&MenuPageStatistics, W, H);
    s = (float)l.s;
    EXPECT_TRUE(near(menuPixel(l.left + 15 + 0.6f * s, l.top + 0.65f * s), 255, 200, 80, 1));
    EXPECT_FALSE(near(menuPixel(l.left + 15 + l.w - s + 0.4f * s, l.top + 0.65f * s), 255, 200, 80, 60));
}

TEST_F(MenuPaint, HiddenMenuDrawsNothingAndChangesNothing)
{
    MainMenu.visible = 0;
    glColor4f(0.5f, 0.25f, 0.125f, 1);
    glLineWidth(2);
    menuDisplay(&MainMenu, W, H);
    GLfloat color[4], lineWidth;
    glGetFloatv(GL_CURRENT_COLOR, color);
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    EXPECT_EQ(color[1], 0.25f);
    EXPECT_EQ(lineWidth, 2.0f);
    std::vector<unsigned char> pixels = readPixels(0, 0, W, H);
    for (unsigned char p : pixels) ASSERT_EQ(p, 0);
}

}  // namespace
