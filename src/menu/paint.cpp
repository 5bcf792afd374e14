// Painting the overlay menu: a translucent rounded panel in the middle of the
// window, the page title between page arrows, and one row per item. The layout
// is computed afresh each frame from the texts and the font's line height.
// Text goes through the platform's fonts. On a dense display (MenuScale
// above 1) the fonts are stroke glyphs drawn for the scaled size, and the margins, corners and lines grow with
// them; where those do not fit, the bitmap fonts of 96 dpi follow.
//
// Index
//   - Theme and fonts: menuFont, scaled fonts, pageScale
//   - Geometry: menuPageFits, menuPanelPlace, trackBarWidth, trackBarFill, listBoxArrows
//   - Measuring: strWidth, menuItemWidth, menuPageLayout
//   - Controls: check box, track bar, arrows
//   - Page: shape, background, rows, menuPageDisplay
#include "menu/paint.h"

#include <GL/glu.h>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "core/platform.h"

// ---- Theme and fonts ---------------------------------------------------------
theme Theme = {
    .background = {50, 70, 50, 100},
    .frame = {255, 255, 255, 200},
    .lineWidth = 1.5f,
    .highlight = {255, 200, 80, 255},
    .normal = {255, 255, 255, 130},
    .roundedCorners = {0, 1, 1, 1},
};

float MenuScale = 1;

// The bitmap fonts, as at 96 dpi; a handle points at its name.
static const fontname BitmapFonts[MENU_FONT_COUNT] = {FONT_HELVETICA_10, FONT_HELVETICA_12, FONT_HELVETICA_18};

void* menuFont(int index)
{
    index = index < 0 ? 0 : (index >= MENU_FONT_COUNT ? MENU_FONT_COUNT - 1 : index);
    return const_cast<fontname*>(&BitmapFonts[index]);
}

static fontname bitmapFont(void* font) { return *static_cast<const fontname*>(font); }

int menuFontLineHeight(int fontIndex)
{
    static const int heights[MENU_FONT_COUNT] = {12, 14, 20};
    return heights[fontIndex < 0 ? 0 : (fontIndex >= MENU_FONT_COUNT ? MENU_FONT_COUNT - 1 : fontIndex)];
}

// A font drawn from the stroke glyphs at a line height of its own.
struct scaledfont {
    int lineHeight;    // s
    float unitPixels;  // pixels per glyph unit
    float lineWidth;   // width of the glyph strokes in pixels
};
static scaledfont ScaledFonts[MENU_FONT_COUNT];
constexpr float CAP_HEIGHT = 0.65f;        // capital height over line height, as Helvetica's
constexpr float STROKE_CAP_UNITS = 100.0f; // capital height of the Roman stroke glyphs
constexpr float STROKE_WEIGHT = 15.0f;     // line heights per pixel of stroke width
constexpr float SPACE_UNITS = 40.0f;       // a space as narrow as Helvetica's; the glyph's is twice as wide

static float strokeAdvance(int c) { return c == ' ' ? SPACE_UNITS : Platform.strokeWidth(FONT_STROKE_ROMAN, c); }

// Scaled font of index 0..2 at MenuScale: the bitmap line heights times the scale.
static scaledfont* scaledFont(int index)
{
    scaledfont* f = &ScaledFonts[index];
    f->lineHeight = (int)lroundf(menuFontLineHeight(index) * MenuScale);
    f->unitPixels = CAP_HEIGHT * f->lineHeight / STROKE_CAP_UNITS;
    f->lineWidth = f->lineHeight / STROKE_WEIGHT;
    return f;
}

static const scaledfont* asScaledFont(void* font)
{
    auto* f = static_cast<const scaledfont*>(font);
    return f >= ScaledFonts && f < ScaledFonts + MENU_FONT_COUNT ? f : nullptr;
}

// The scale a page is painted at: MenuScale with a scaled font, else 1.
static float PageScale = 1;
static float pageScale(void* font) { return asScaledFont(font) ? MenuScale : 1; }
static int pageMargin(void* font) { return (int)lroundf(MENU_MARGIN * pageScale(font)); }

static void color4(rgba c) { glColor4ub(c.r, c.g, c.b, c.a); }
static void color3(rgba c) { glColor3ub(c.r, c.g, c.b); }
static rgba rowColor(int highlighted) { return highlighted ? Theme.highlight : Theme.normal; }

// ---- Geometry ----------------------------------------------------------------------
int menuPageFits(int w, int itemCount, int s, int W, int H, int margin)
{
    return w + 2 * margin <= W && (itemCount + 1) * s + 2 * margin <= H;
}

void menuPanelPlace(menulayout* l, int itemCount, int W, int H)
{
    int margin = pageMargin(l->font);
    l->width = l->w + 2 * margin;
    l->height = (itemCount + 1) * l->s + 2 * margin;
    l->left = (W - l->width) / 2;
    l->top = (H - l->height) / 2;
    if (l->left < 0) l->left = 0;  // too large a page runs off the right or bottom edge
    if (l->top < 0) l->top = 0;
}

float trackBarWidth(int s, float width) { return width - 0.4f * s; }

int trackBarFill(float fraction, float barWidth)
{
    // Extended precision keeps the full bar's fill at the bar's whole width.
    long double m = (long double)fraction * barWidth / 3 * 3;
    return (int)m;
}

int listBoxArrows(const listbox* d)
{
    int arrows = 0;
    if (d->selected > 0) arrows |= LISTBOX_LEFT_ARROW;
    if (d->selected < d->choiceCount - 1) arrows |= LISTBOX_RIGHT_ARROW;
    return arrows;
}

// ---- Measuring ---------------------------------------------------------------------
int strWidth(void* font, const char* text)
{
    if (const scaledfont* f = asScaledFont(font)) {
        float units = 0;
        for (const unsigned char* c = (const unsigned char*)text; *c; c++) units += strokeAdvance(*c);
        return (int)ceilf(units * f->unitPixels);
    }
    int width = 0;
    for (const unsigned char* c = (const unsigned char*)text; *c; c++) width += Platform.bitmapWidth(bitmapFont(font), *c);
    return width;
}

int menuItemWidth(void* font, int s, menuitem* item)
{
    switch (item->type) {
    case MENU_STATICTEXT:
        return strWidth(font, item->name);
    case MENU_CHECKBOX:
        return strWidth(font, item->name) + s;
    case MENU_LISTBOX: {
        auto* d = static_cast<listbox*>(item->data);
        return strWidth(font, item->name) + strWidth(font, d->texts[d->selected]) + 2 * s;
    }
    case MENU_ITRACKBAR: {
        auto* d = static_cast<itrackbar*>(item->data);
        snprintf(d->text, sizeof d->text, item->name, d->value);
        return strWidth(font, d->text) + 6 * s;
    }
    case MENU_FTRACKBAR: {
        auto* d = static_cast<ftrackbar*>(item->data);
        snprintf(d->text, sizeof d->text, item->name, (double)d->value);
        return strWidth(font, d->text) + 6 * s;
    }
    default:  // separators and unknown codes take a line but no width
        return 0;
    }
}

menulayout menuPageLayout(menupage* page, int W, int H)
{
    menulayout l = {};
    int steps = MenuScale > 1 ? 2 * MENU_FONT_COUNT : MENU_FONT_COUNT;  // scaled sizes first
    for (int step = 0; step < steps; step++) {
        int index = MENU_FONT_COUNT - 1 - step % MENU_FONT_COUNT;
        if (step < steps - MENU_FONT_COUNT) {
            scaledfont* f = scaledFont(index);
            l.font = f;
            l.s = f->lineHeight;
        } else {
            l.font = menuFont(index);
            l.s = menuFontLineHeight(index);
        }
        l.titleBox = strWidth(l.font, page->name) + 2 * l.s;
        l.w = l.titleBox;
        for (int i = 0; i < page->itemCount; i++) {
            int itemWidth = menuItemWidth(l.font, l.s, page->items[i]);
            if (itemWidth > l.w) l.w = itemWidth;
        }
        if (menuPageFits(l.w, page->itemCount, l.s, W, H, pageMargin(l.font))) break;  // else try a smaller font;
    }                                                               // the smallest stays
    menuPanelPlace(&l, page->itemCount, W, H);
    return l;
}

// ---- Controls ------------------------------------------------------------------------
void strPaint(void* font, const char* text, float x, float y)
{
    if (const scaledfont* f = asScaledFont(font)) {
        glPushMatrix();
        glTranslatef(x, y, 0);
        glScalef(f->unitPixels, -f->unitPixels, 1);  // glyphs grow upwards, the menu's y downwards
        glLineWidth(f->lineWidth);
        glEnable(GL_LINE_SMOOTH);
        for (const unsigned char* c = (const unsigned char*)text; *c; c++) {
            if (*c == ' ') glTranslatef(SPACE_UNITS, 0, 0);
            else Platform.strokeCharacter(FONT_STROKE_ROMAN, *c);
        }
        glDisable(GL_LINE_SMOOTH);
        glPopMatrix();
        return;
    }
    glRasterPos2f(x, y);
    for (const unsigned char* c = (const unsigned char*)text; *c; c++) Platform.bitmapCharacter(bitmapFont(font), *c);
}

void paintCheckBox(int s, int checked, int highlighted, int x, int y)
{
    color3(rowColor(highlighted));
    glBegin(GL_LINE_LOOP);
    glVertex2f(x + 0.1f * s, y + 0.2f * s);
    glVertex2f(x + 0.1f * s, (float)(y + s));
    glVertex2f(x + 0.9f * s, (float)(y + s));
    glVertex2f(x + 0.9f * s, y + 0.2f * s);
    glEnd();
    if (checked) {
        glBegin(GL_LINE_STRIP);
        glVertex2f(x + 0.2f * s, y + 0.6f * s);
        glVertex2f(x + 0.3f * s, y + 0.6f * s);
        glVertex2f(x + 0.5f * s, y + 0.9f * s);
        glVertex2f(x + 0.8f * s, y + 0.3f * s);
        glEnd();
    }
}

void paintTrackBar(int s, int highlighted, float fraction, float x, int y, float width)
{
    float x0 = x + 0.3f * s;
    float bw = trackBarWidth(s, width);
    float top = y + 0.2f * s;
    float bottom = (float)(y + s);
    int m = trackBarFill(fraction, bw);

    // Fill: a vertical line every third pixel; highlighted, a gradient from orange.
    glBegin(GL_LINES);
    for (int k = 1; k <= m; k += 3) {
        if (highlighted) {
            float t = 0.5f * sqrtf(k / bw);
            glColor3f(1 - t, 0.5f + t, 0.1f);
        }
        glVertex2f(x0 + k, top);
        glVertex2f(x0 + k, bottom);
    }
    glEnd();

    color3(rowColor(highlighted));
    glBegin(GL_LINE_LOOP);
    glVertex2f(x0, top);
    glVertex2f(x0 + bw, top);
    glVertex2f(x0 + bw, bottom);
    glVertex2f(x0, bottom);
    glEnd();
}

void paintArrowShape(int x, int y, int size)
{
    int a = size < 0 ? -size : size;
    glVertex2f(x + 0.3f * size, y + 0.3f * a);
    glVertex2f(x + 0.3f * size, (float)(y + a));
    glVertex2f(x + 0.65f * size, y + 0.65f * a);
}

void paintRightArrow(int s, int highlighted, int x, int y)
{
    color3(rowColor(highlighted));
    glBegin(GL_TRIANGLES);
    paintArrowShape(x, y, s);
    glEnd();
}

void paintLeftArrow(int s, int highlighted, int x, int y)
{
    color3(rowColor(highlighted));
    glBegin(GL_TRIANGLES);
    paintArrowShape(x + s, y, -s);
    glEnd();
}

// ---- Page -------------------------------------------------------------------------------
void paintMenuPageShape(int x, int y, int width, int height)
{
    static const int corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};  // clockwise on screen
    const float r = MENU_CORNER_RADIUS * PageScale;
    for (int c = 0; c < 4; c++) {
        int fx = corners[c][0], fy = corners[c][1];
        if (Theme.roundedCorners[c] == 0) {
            glVertex2f((float)(x + fx * width), (float)(y + fy * height));
            continue;
        }
        float cx = x + fx * (width - 2 * r) + r;
        float cy = y + fy * (height - 2 * r) + r;
        for (int j = 0; j <= 25; j++) {
            float a = (j / 25.0f + c) * std::numbers::pi_v<float> / 2;
            glVertex2f(cx - r * cosf(a), cy - r * sinf(a));
        }
    }
}

void paintMenuPageBackground(int s, int x, int y, int width, int height)
{
    color4(Theme.background);
    glBegin(GL_POLYGON);
    paintMenuPageShape(x, y, width, height);
    glEnd();

    color4(Theme.frame);
    glLineWidth(Theme.lineWidth * PageScale);
    glBegin(GL_LINE_LOOP);
    paintMenuPageShape(x, y, width, height);
    glEnd();

    float underline = y + 1.3f * s;
    glBegin(GL_LINES);
    glVertex2f((float)x, underline);
    glVertex2f((float)(x + width), underline);
    glEnd();
}

void paintMenuItem(void* font, int s, menuitem* item, int highlighted, int x, int y, int width)
{
    color4(rowColor(highlighted));
    switch (item->type) {
    case MENU_SEPARATOR: {
        color4(Theme.frame);
        glLineWidth(Theme.lineWidth * pageScale(font));
        float ly = y - 0.4f * s;
        int margin = pageMargin(font);
        glBegin(GL_LINES);
        glVertex2f((float)(x - margin), ly);
        glVertex2f((float)(x + width + margin), ly);
        glEnd();
        break;
    }
    case MENU_STATICTEXT:
        strPaint(font, item->name, (float)x, (float)y);
        break;
    case MENU_CHECKBOX:
        strPaint(font, item->name, (float)x, (float)y);
        paintCheckBox(s, static_cast<checkbox*>(item->data)->value, highlighted, x + width - s, y - s);
        break;
    case MENU_LISTBOX: {
        auto* d = static_cast<listbox*>(item->data);
        const char* choice = d->texts[d->selected];
        int tw = strWidth(font, choice);
        strPaint(font, item->name, (float)x, (float)y);
        strPaint(font, choice, (float)(x + width - tw - s), (float)y);
        int arrows = listBoxArrows(d);
        if (arrows & LISTBOX_LEFT_ARROW) paintLeftArrow(s, highlighted, x + width - 2 * s - tw, y - s);
        if (arrows & LISTBOX_RIGHT_ARROW) paintRightArrow(s, highlighted, x + width - s, y - s);
        break;
    }
    case MENU_ITRACKBAR: {
        auto* d = static_cast<itrackbar*>(item->data);
        strPaint(font, d->text, (float)x, (float)y);
        float fraction = (float)(d->value - d->min) / (float)(d->max - d->min);
        paintTrackBar(s, highlighted, fraction, (float)(x + width - 6 * s), y - s, (float)(6 * s));
        break;
    }
    case MENU_FTRACKBAR: {
        auto* d = static_cast<ftrackbar*>(item->data);
        strPaint(font, d->text, (float)x, (float)y);
        float fraction = (d->value - d->min) / (d->max - d->min);
        paintTrackBar(s, highlighted, fraction, (float)(x + width - 6 * s), y - s, (float)(6 * s));
        break;
    }
    default:
        break;
    }
}

void paintMenuPage(menupage* page, int W, int H, int hasPrevious, int hasNext)
{
    menulayout l = menuPageLayout(page, W, H);
    PageScale = pageScale(l.font);
    paintMenuPageBackground(l.s, l.left, l.top, l.width, l.height);

    int margin = pageMargin(l.font);
    int x = l.left + margin;
    for (int i = 0; i < page->itemCount; i++) {
        paintMenuItem(l.font, l.s, page->items[i], page->currentItem == i + 1, x,
                      l.top + margin + (i + 2) * l.s, l.w);
    }

    int titleHighlighted = page->currentItem == 0;
    color4(rowColor(titleHighlighted));
    strPaint(l.font, page->name, x + l.s + (l.w - l.titleBox) * 0.5f, (float)(l.top + l.s));
    if (hasPrevious) paintLeftArrow(l.s, titleHighlighted, x, l.top);
    if (hasNext) paintRightArrow(l.s, titleHighlighted, x + l.w - l.s, l.top);
    PageScale = 1;
}

void menuDisplay(menu* m, int width, int height)
{
    if (m->visible == 0) return;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, width, height, 0);  // one unit per pixel, y downwards
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);  // GL_BLEND is already on

    paintMenuPage(m->pages[m->currentPage], width, height, m->currentPage != 0,
                  m->currentPage < m->pageCount - 1);

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}
