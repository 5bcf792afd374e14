// Painting the overlay menu with OpenGL 1.1 and the platform's fonts.
//
// Coordinates are window pixels, origin at the top-left corner, y downwards.
// Text is placed by the left end of its baseline; a control sits in a square
// cell of side s (the font's line height) whose bottom edge is the baseline.
#pragma once

#include "menu/menu.h"

// ---- Theme -----------------------------------------------------------------
struct rgba {
    unsigned char r, g, b, a;
};

struct theme {
    rgba background;        // panel fill
    rgba frame;             // outline, title underline, separators
    float lineWidth;
    rgba highlight;         // the highlighted row or title
    rgba normal;            // every other row
    int roundedCorners[4];  // top-left, top-right, bottom-right, bottom-left
};

extern theme Theme;

// The display's scale (1 at 96 dpi, 2 at 192): text, boxes and margins grow
// by it where the window has room.
extern float MenuScale;

constexpr int MENU_FONT_COUNT = 3;
constexpr int MENU_MARGIN = 15;         // pixels between the panel edge and the content
constexpr int MENU_CORNER_RADIUS = 15;

// ---- Geometry (no OpenGL needed) ---------------------------------------------
// Line height of font index 0 (Helvetica 10), 1 (12) or 2 (18).
int menuFontLineHeight(int fontIndex);
// The bitmap font of that index.
void* menuFont(int fontIndex);
// 1 if a content column w wide with itemCount rows fits a W x H window with its margins.
int menuPageFits(int w, int itemCount, int s, int W, int H, int margin = MENU_MARGIN);

struct menulayout {
    void* font;         // a bitmap font (menuFont), or a scaled font of the painter's own
    int s;              // line height
    int w;              // width of the content column
    int titleBox;       // title width plus an arrow cell at each end
    int left, top;      // panel corner
    int width, height;  // panel size
};
// Fills the panel rectangle of l from l->w, l->s and l->font's margins:
// centred, never left of or above 0.
void menuPanelPlace(menulayout* l, int itemCount, int W, int H);

// Bar inside a track-bar cell of the given width, and its filled length in pixels.
float trackBarWidth(int s, float width);
int trackBarFill(float fraction, float barWidth);

constexpr int LISTBOX_LEFT_ARROW = 1;
constexpr int LISTBOX_RIGHT_ARROW = 2;
// Which arrows a list box shows: the directions its choice can still move.
int listBoxArrows(const listbox* d);

// ---- Measuring (the platform installed) -----------------------------------------------
int strWidth(void* font, const char* text);
// Width a row needs; formats a track bar's label into its text as a side effect.
int menuItemWidth(void* font, int s, menuitem* item);
// Font, column and panel of a page in a W x H window: the largest font that
// fits, the scaled sizes before the bitmap fonts.
menulayout menuPageLayout(menupage* page, int W, int H);

// ---- Painting (GL context current) -----------------------------------------------
// Draws the current page over the picture while the menu is visible.
void menuDisplay(menu* m, int width, int height);
void paintMenuPage(menupage* page, int W, int H, int hasPrevious, int hasNext);
void paintMenuPageBackground(int s, int x, int y, int width, int height);
void paintMenuPageShape(int x, int y, int width, int height);
void paintMenuItem(void* font, int s, menuitem* item, int highlighted, int x, int y, int width);
void paintCheckBox(int s, int checked, int highlighted, int x, int y);
void paintTrackBar(int s, int highlighted, float fraction, float x, int y, float width);
void paintLeftArrow(int s, int highlighted, int x, int y);
void paintRightArrow(int s, int highlighted, int x, int y);
void paintArrowShape(int x, int y, int size);
void strPaint(void* font, const char* text, float x, float y);
