// Drawing one frame: the previous frame faded by the motion-blur mode, the
// point buffer in one draw call (or one per pass of the multi-pass filter),
// the menu, and the copy of the finished frame kept for the next one.
//
// Index
//   - reshapeFunc
//   - Fade and blend method
//   - Multi-pass filter
//   - displayFunc
#include "render/frame.h"

#include <GL/glut.h>

#include <cstdint>

#include "menu/paint.h"
#include "render/texture.h"
#include "shell/platform.h"
#include "shell/state.h"

// ---- reshapeFunc ----
void reshapeFunc(int w, int h)
{
    ApplicationData.width = w ? w : 1;
    ApplicationData.height = h ? h : 1;
    glViewport(0, 0, w, h);  // a zero size reaches the viewport as received
}

// ---- Fade and blend method ----
// Paints the last frame darkened by 1 - attenuation, or clears when there is none.
static void paintFadedFrame()
{
    float c = 1.0f - ApplicationData.attenuation;
    glColor3f(c, c, c);
    if (!paintTexture(&ApplicationData.frameTexture)) glClear(GL_COLOR_BUFFER_BIT);
}

// Darkens what the draw buffer holds (mode 0) or replaces it by the faded
// copy of the last frame (mode 1); the multi-pass modes fade in their first pass.
static void fadePreviousFrame()
{
    if (ApplicationData.motionBlur == 0) {
        glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(0, 0, 0, ApplicationData.attenuation);
        glRectf(-1, -1, 1, 1);
    } else if (ApplicationData.motionBlur == 1) {
        glBlendFunc(GL_ONE, GL_ZERO);
        paintFadedFrame();
    }
}

static void setPointBlendFunc()
{
    switch (ApplicationData.blendMethod) {
    case 0: glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE); break;  // logarithmic: saturates softly
    case 1: glBlendFunc(GL_ONE, GL_ONE); break;                  // linear: clamped sum
    default: glBlendFunc(GL_ONE, GL_ZERO); break;                // maximum: the last point wins
    }
}

// ---- Multi-pass filter ----
// Draws the points in n passes; each pass is rendered alone, copied, and
// added with weight w to the accumulated image held in frameTexture.
static void drawPasses(int n)
{
    float w = ApplicationData.blendMethod <= 1 ? ApplicationData.alpha : ApplicationData.attenuation / float(n);
    int count = ApplicationData.pointCount;
    for (int i = 0; i < n; i++) {
        // 64-bit products: the same bounds as 32-bit ones, without overflow for huge counts.
        int first = int(int64_t(count) * i / n);
        int last = int(int64_t(count) * (i + 1) / n);
        glClear(GL_COLOR_BUFFER_BIT);
        glDrawArrays(GL_POINTS, first, last - first);

        glPushAttrib(GL_ALL_ATTRIB_BITS);
        copyTexture(&ApplicationData.passTexture);
        glBlendFunc(GL_ONE, GL_ZERO);
        if (i == 0) {
            paintFadedFrame();
        } else {
            glColor3f(1, 1, 1);
            paintTexture(&ApplicationData.frameTexture);
        }
        glColor3f(w, w, w);
        glBlendFunc(GL_ONE, GL_ONE);
        paintTexture(&ApplicationData.passTexture);
        copyTexture(&ApplicationData.frameTexture);
        glPopAttrib();
    }
}

// ---- displayFunc ----
void displayFunc()
{
    glEnable(GL_BLEND);  // stays on for the whole run
    // Some drivers (Mesa 22) lose the current colour across nested attribute
    // pops, so it is also put back by hand at the end.
    float color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);  // the point array is not left bound
    glPointSize(ApplicationData.pointSize);
    if (ApplicationData.roundedPoints) glEnable(GL_POINT_SMOOTH);
    else glDisable(GL_POINT_SMOOTH);

    fadePreviousFrame();
    setPointBlendFunc();

    glInterleavedArrays(GL_C4UB_V2F, sizeof(point), ApplicationData.points);
    if (ApplicationData.motionBlur <= 1) glDrawArrays(GL_POINTS, 0, ApplicationData.pointCount);
    else drawPasses(ApplicationData.motionBlur);

    glPopClientAttrib();
    glPopAttrib();
    glColor4fv(color);

    menuDisplay(ApplicationData.currentMenu, ApplicationData.width, ApplicationData.height);
    if (ApplicationData.motionBlur != 0) copyTexture(&ApplicationData.frameTexture);
    glFlush();
    Platform.swapBuffers();
    ApplicationData.framePending = 0;  // the step's frame is drawn: the next step may run
}
