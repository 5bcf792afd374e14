// The frame drawn by OpenGL.
//
// Index
//   - Pictures
//   - Fade to black
//   - Blend method
//   - Point submission
//   - Kept back buffer
//   - Multi-pass filter
//   - drawGLFrame, finishGLFrame
#include "render/glframe.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstring>

#include "render/rendering.h"
#include "render/texture.h"
#include "core/appdata.h"
#include "core/windowstate.h"

// ---- Pictures ----
// The points are drawn once per monitor in a viewport of its rectangle; the
// fade and the textures cover the whole window.
// Draws into picture i: its viewport and its point size.
static void usePicture(int i)
{
    pixelrect r = pictureRect(i);
    glViewport(r.x, r.y, r.width, r.height);
    glPointSize(picturePointSize(i));
}

static void useWholeWindow()
{
    glViewport(0, 0, ApplicationData.width, ApplicationData.height);
    glPointSize(ApplicationData.pointSize);
}


// ---- Fade to black ----
// The fade multiplies by 1 - attenuation, and an 8-bit channel rounds small
// products back up (0.9 x 4 = 3.6 gives 4 again), so trails would never end.
// With fadeToBlack every non-zero channel first loses one step, then takes
// the plain fade: at most one step below the plain fade and at least one
// step below d. Blending in OpenGL 1.1 only adds, so the step is taken on
// the inverted picture, where it is a step up that saturates at white.
constexpr float ONE_STEP = 1.0f / 255.0f;

static void fullRect(float r, float g, float b, float a)
{
    glColor4f(r, g, b, a);
    glRectf(-1, -1, 1, 1);
}

static void fadeRect()
{
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_ALPHA);
    int alpha = fadeAlphaByte(ApplicationData.attenuation);
    fullRect(0, 0, 0, alpha < 255 ? (alpha + 0.25f) / 255.0f : 1.0f);
}

// The window holds 1 - d plus one step, saturated at white: invert it back
// to max(0, d - step) and fade.
static void invertAndFade()
{
    glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ZERO);
    fullRect(1, 1, 1, 1);
    fadeRect();
}

// Mode 0: darkens what the draw buffer holds.
static void fadeWindow()
{
    if (RenderOptions.fadeToBlack) {
        glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ZERO);  // 1 - d
        fullRect(1, 1, 1, 1);
        glBlendFunc(GL_ONE, GL_ONE);  // one step up, saturating
        fullRect(ONE_STEP, ONE_STEP, ONE_STEP, 1);
        invertAndFade();
    } else {
        fadeRect();
    }
}

// Draws a texture over the window, replacing what is there.
static int paintReplacing(texture* t)
{
    glBlendFunc(GL_ONE, GL_ZERO);
    if (RenderOptions.lean) glDisable(GL_BLEND);  // the same pixels, without reading the window
    int painted = paintTexture(t);
    glEnable(GL_BLEND);
    return painted;
}

// Texture modes: replaces the window by the last frame faded, or clears it
// when there is no last frame.
static void paintFadedFrame()
{
    texture* t = &ApplicationData.frameTexture;
    if (!RenderOptions.fadeToBlack) {
        float c = 1 - ApplicationData.attenuation;
        glColor3f(c, c, c);
        if (!paintReplacing(t)) glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    if (!textureHasStorage(t)) {
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    // The window cleared to one step, plus the texels through the blend
    // environment with a black environment colour: white (1 - t) = 1 - t.
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
    glClearColor(ONE_STEP, ONE_STEP, ONE_STEP, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    float black[4] = {0, 0, 0, 0};
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_BLEND);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, black);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor3f(1, 1, 1);
    paintTexture(t);
    invertAndFade();
    glPopAttrib();
}

// ---- Blend method ----
static void setPointBlendFunc()
{
    switch (ApplicationData.blendMethod) {
    case 0: glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE); break;  // logarithmic: saturates softly
    case 1: glBlendFunc(GL_ONE, GL_ONE); break;                  // linear: clamped sum
    default: glBlendFunc(GL_ONE, GL_ZERO); break;                // maximum: the last point wins
    }
}

// ---- Point submission ----
// Software rasterisers (Mesa's llvmpipe and its kin) spend less per point
// in draws of a few hundred points than in one draw of tens of thousands
// (up to half at 60 000 points); hardware drivers take the whole buffer in
// one call.
constexpr int SOFTWARE_CHUNK_POINTS = 512;

// Points first .. first + count - 1 of the buffer bound by glInterleavedArrays.
static void drawPoints(int first, int count)
{
    enterStage(STAGE_POINTS);
    int chunk = RenderOptions.chunkSize;
    if (chunk == CHUNK_BY_RENDERER) chunk = softwareRenderer() == 1 ? SOFTWARE_CHUNK_POINTS : 0;
    if (chunk <= 0) chunk = count;
    for (int picture = 0; picture < pictureCount(); picture++) {
        if (WindowState.monitorCount > 0) usePicture(picture);
        for (int done = 0; done < count; done += chunk)
            glDrawArrays(GL_POINTS, first + done, count - done < chunk ? count - done : chunk);
    }
    if (WindowState.monitorCount > 0) useWholeWindow();
}

// ---- Kept back buffer ----
// After a swap the back buffer is undefined in general, but some drivers
// (Mesa's software rasteriser among them) keep it, and a single-buffered
// window always does. The window then still holds the last finished frame at
// the start of the next, and the texture modes can fade it in place instead
// of copying it into frameTexture and painting it back, two full-window
// passes fewer. Whether it is kept is measured, not assumed: the middle row
// of the window is read at the end of each frame and again at the start of
// the next; after KEPT_FRAMES_NEEDED frames in a row that match with
// something lit in the row, the window is trusted to keep its frame. A
// mismatch or a new size ends the trust (the stale frameTexture is dropped,
// so that frame starts from black, as after a new window). Only on software
// renderers, where reading a row back costs no pipeline stall.
constexpr int KEPT_FRAMES_NEEDED = 3;
constexpr int KEPT_ROW_PIXELS = 8192;  // the row is read up to this width

struct keptbuffer {
    int context;        // rendering context the state belongs to (a count)
    int width, height;  // window size at the end of the last frame
    int rowValid;       // row holds the end of the last frame
    int matches;        // frames in a row that began as the last one ended
    int trusted;        // the window keeps its frame across the swap
    unsigned char row[KEPT_ROW_PIXELS * 3];  // middle row at the end of the last frame, RGB
};

static keptbuffer Kept = {0, 0, 0, 0, 0, 0, {}};
static unsigned char KeptRowNow[KEPT_ROW_PIXELS * 3];

static int readMiddleRow(unsigned char* out)
{
    int n = ApplicationData.width < KEPT_ROW_PIXELS ? ApplicationData.width : KEPT_ROW_PIXELS;
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, ApplicationData.height / 2, n, 1, GL_RGB, GL_UNSIGNED_BYTE, out);
    glPopClientAttrib();
    return n * 3;
}

// At the start of a frame: does the window still hold the last frame?
static bool keptFrame()
{
    if (!RenderOptions.keepBackBuffer || softwareRenderer() != 1) return false;
    bool same = Kept.context == WindowState.contextGeneration && Kept.width == ApplicationData.width && Kept.height == ApplicationData.height;
    bool match = false;
    if (same && Kept.rowValid) {
        int n = readMiddleRow(KeptRowNow);
        bool lit = false;
        match = memcmp(KeptRowNow, Kept.row, n) == 0;
        for (int i = 0; i < n && !lit; i++) lit = KeptRowNow[i] != 0;
        if (match && lit && Kept.matches < KEPT_FRAMES_NEEDED) Kept.matches++;
    }
    if (!match) {
        if (Kept.trusted && Kept.context == WindowState.contextGeneration) deleteTexture(&ApplicationData.frameTexture);  // stale
        Kept.matches = 0;
        Kept.trusted = 0;
    }
    if (Kept.matches >= KEPT_FRAMES_NEEDED) Kept.trusted = 1;
    Kept.context = WindowState.contextGeneration;
    Kept.width = ApplicationData.width;
    Kept.height = ApplicationData.height;
    Kept.rowValid = 0;
    return Kept.trusted;
}

// At the end of a frame, before the swap.
static void rememberFrameEnd()
{
    if (!RenderOptions.keepBackBuffer || softwareRenderer() != 1) return;
    readMiddleRow(Kept.row);
    Kept.rowValid = 1;
}

// ---- Multi-pass filter ----
struct pixelarea {
    int x, y;  // lower-left corner, window pixels
    int w, h;  // size in pixels; 0 for none
};

static pixelarea wholeWindow() { return {0, 0, ApplicationData.width, ApplicationData.height}; }

static int clampToPixels(float v, int size)
{
    if (!(v > 0)) return 0;  // also NaN
    return v < float(size) ? int(v) : size;
}

// The window area points first .. first + count - 1 can touch: their bounding
// box grown by the point radius and two pixels, in every picture, within the
// window.
static pixelarea passArea(int first, int count)
{
    float x0 = 2, y0 = 2, x1 = -2, y1 = -2;  // normalised coordinates; empty
    const point* p = ApplicationData.points + first;
    for (int i = 0; i < count; i++) {
        if (p[i].x < x0) x0 = p[i].x;
        if (p[i].x > x1) x1 = p[i].x;
        if (p[i].y < y0) y0 = p[i].y;
        if (p[i].y > y1) y1 = p[i].y;
    }
    if (x0 > x1 || y0 > y1) return {0, 0, 0, 0};
    int w = ApplicationData.width, h = ApplicationData.height;
    float margin = ApplicationData.pointSize / 2 + 2;
    int left = w, right = 0, bottom = h, top = 0;
    for (int i = 0; i < pictureCount(); i++) {
        pixelrect r = pictureRect(i);
        int l = clampToPixels(r.x + (x0 + 1) / 2 * r.width - margin, w);
        int rt = clampToPixels(r.x + (x1 + 1) / 2 * r.width + margin + 1, w);
        int b = clampToPixels(r.y + (y0 + 1) / 2 * r.height - margin, h);
        int t = clampToPixels(r.y + (y1 + 1) / 2 * r.height + margin + 1, h);
        if (l < left) left = l;
        if (rt > right) right = rt;
        if (b < bottom) bottom = b;
        if (t > top) top = t;
    }
    if (left >= right || bottom >= top) return {0, 0, 0, 0};
    return {left, bottom, right - left, top - bottom};
}

static void clearArea(pixelarea a)
{
    glPushAttrib(GL_SCISSOR_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(a.x, a.y, a.w, a.h);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
}

// Draws the points in n passes; each pass is rendered alone, copied, and
// added with weight w to the accumulated image. The plain way clears, copies
// and paints the whole window in every pass and keeps the accumulated image
// in frameTexture after each. With lean set, a pass touches only the area
// its points can reach, the window keeps the accumulated image elsewhere,
// and frameTexture receives only the area the next pass is about to clear
// (the copy after the menu keeps the whole frame). When the window kept the
// last frame, it is faded in place first and pass 0 is like the others.
static void drawPasses(int n, bool kept)
{
    float w = ApplicationData.blendMethod <= 1 ? ApplicationData.alpha : ApplicationData.attenuation / float(n);
    int count = ApplicationData.pointCount;
    bool lean = RenderOptions.lean;
    for (int i = 0; i < n; i++) {
        // 64-bit products: the same bounds as 32-bit ones, without overflow for huge counts.
        int first = int(int64_t(count) * i / n);
        int last = int(int64_t(count) * (i + 1) / n);
        pixelarea a = lean ? passArea(first, last - first) : wholeWindow();
        bool empty = a.w <= 0 || a.h <= 0;
        enterStage(STAGE_TEXTURES);
        if (kept && i == 0) {
            glPushAttrib(GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);  // keeps the points' blend function
            fadeWindow();
            glPopAttrib();
        }
        bool restore = lean && (i > 0 || kept);  // the accumulated image is in the window
        if (restore) {
            if (empty) continue;  // adds nothing
            copyTextureArea(&ApplicationData.frameTexture, a.x, a.y, a.w, a.h);
        }
        if (!empty) {
            clearArea(a);
            drawPoints(first, last - first);
        }

        enterStage(STAGE_TEXTURES);
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        if (!empty) copyTextureArea(&ApplicationData.passTexture, a.x, a.y, a.w, a.h);
        if (!restore && i == 0) {
            paintFadedFrame();
        } else {
            glColor3f(1, 1, 1);
            if (lean) {
                glDisable(GL_BLEND);
                paintTextureArea(&ApplicationData.frameTexture, a.x, a.y, a.w, a.h);
                glEnable(GL_BLEND);
            } else {
                paintReplacing(&ApplicationData.frameTexture);
            }
        }
        if (!empty) {
            glColor3f(w, w, w);
            glBlendFunc(GL_ONE, GL_ONE);
            if (lean) paintTextureArea(&ApplicationData.passTexture, a.x, a.y, a.w, a.h);
            else paintTexture(&ApplicationData.passTexture);
        }
        if (!lean) copyTexture(&ApplicationData.frameTexture);
        glPopAttrib();
    }
}

// ---- drawGLFrame, finishGLFrame ----
// The frame through OpenGL; returns whether the window kept the last frame.
bool drawGLFrame()
{
    // Some drivers (Mesa 22) lose the current colour across nested attribute
    // pops, so it is also put back by hand at the end.
    float color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);  // the point array is not left bound
    glPointSize(ApplicationData.pointSize);
    if (ApplicationData.roundedPoints) glEnable(GL_POINT_SMOOTH);
    else glDisable(GL_POINT_SMOOTH);

    enterStage(STAGE_FADE);
    bool kept = keptFrame();
    if (ApplicationData.motionBlur == 0 || (ApplicationData.motionBlur == 1 && kept)) fadeWindow();
    else if (ApplicationData.motionBlur == 1) paintFadedFrame();
    setPointBlendFunc();

    glInterleavedArrays(GL_C4UB_V2F, sizeof(point), ApplicationData.points);
    if (ApplicationData.motionBlur <= 1) drawPoints(0, ApplicationData.pointCount);
    else drawPasses(ApplicationData.motionBlur, kept && RenderOptions.lean);

    glPopClientAttrib();
    glPopAttrib();
    glColor4fv(color);
    return kept;
}

void finishGLFrame(bool kept)
{
    enterStage(STAGE_TEXTURES);
    if (ApplicationData.motionBlur != 0 && !kept) copyTexture(&ApplicationData.frameTexture);
    rememberFrameEnd();
}
