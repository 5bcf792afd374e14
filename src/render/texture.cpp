// Screen-sized textures of the motion blur: the window is copied into the
// lower-left corner of power-of-two storage and drawn back over the whole
// window, modulated by the current colour.
//
// Index
//   - copyTexture, copyTextureArea, uploadTexture
//   - paintTexture, paintTextureArea
//   - deleteTexture
#include "render/texture.h"

#include <GL/gl.h>

#include "engine/numeric.h"
#include "core/appdata.h"

// ---- copyTexture ----
void copyTexture(texture* t) { copyTextureArea(t, 0, 0, ApplicationData.width, ApplicationData.height); }

// Binds the texture, with storage for the window at its present size.
static void bindWindowSized(texture* t)
{
    if (t->id == TEXTURE_NONE) glGenTextures(1, &t->id);
    glBindTexture(GL_TEXTURE_2D, t->id);
    if (ApplicationData.width != t->width || ApplicationData.height != t->height) {
        t->width = ApplicationData.width;
        t->height = ApplicationData.height;
        t->textureWidth = nextPowerOfTwo(t->width);
        t->textureHeight = nextPowerOfTwo(t->height);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, t->textureWidth, t->textureHeight, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     nullptr);
    }
}

void copyTextureArea(texture* t, int x, int y, int w, int h)
{
    glPushAttrib(GL_TEXTURE_BIT);  // keep the caller's texture binding
    bindWindowSized(t);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, x, y, x, y, w, h);
    glPopAttrib();
}

void uploadTexture(texture* t, const void* rgba)
{
    glPushAttrib(GL_TEXTURE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    bindWindowSized(t);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, t->width, t->height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glPopClientAttrib();
    glPopAttrib();
}

// ---- paintTexture ----
// One quad from (x0, y0) to (x1, y1) in normalised device coordinates showing
// texels s0..s1, r0..r1, nearest filtered and modulated by the current colour.
static void drawTexturedQuad(const texture* t, float x0, float y0, float x1, float y1, float s0, float r0, float s1,
                             float r1)
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, t->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, r0);
    glVertex2f(x0, y0);
    glTexCoord2f(s0, r1);
    glVertex2f(x0, y1);
    glTexCoord2f(s1, r1);
    glVertex2f(x1, y1);
    glTexCoord2f(s1, r0);
    glVertex2f(x1, y0);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    glPopAttrib();
}

int textureHasStorage(const texture* t) { return t->id != TEXTURE_NONE && t->textureWidth != 0 && t->textureHeight != 0; }

int paintTexture(texture* t)
{
    if (!textureHasStorage(t)) return 0;
    float s = float(t->width) / float(t->textureWidth);
    float r = float(t->height) / float(t->textureHeight);
    drawTexturedQuad(t, -1, -1, 1, 1, 0, 0, s, r);
    return 1;
}

int paintTextureArea(texture* t, int x, int y, int w, int h)
{
    if (!textureHasStorage(t)) return 0;
    float ww = float(ApplicationData.width), wh = float(ApplicationData.height);
    float tw = float(t->textureWidth), th = float(t->textureHeight);
    drawTexturedQuad(t, x / ww * 2 - 1, y / wh * 2 - 1, (x + w) / ww * 2 - 1, (y + h) / wh * 2 - 1, x / tw, y / th,
                     (x + w) / tw, (y + h) / th);
    return 1;
}

// ---- deleteTexture ----
void deleteTexture(texture* t)
{
    if (t->id == TEXTURE_NONE) return;
    glDeleteTextures(1, &t->id);
    *t = EMPTY_TEXTURE;
}
