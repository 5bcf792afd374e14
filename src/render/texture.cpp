// Screen-sized textures of the motion blur: the window is copied into the
// lower-left corner of power-of-two storage and drawn back over the whole
// window, modulated by the current colour.
//
// Index
//   - copyTexture
//   - paintTexture
//   - deleteTexture
#include "render/texture.h"

#include <GL/gl.h>

#include "engine/numeric.h"
#include "shell/state.h"

// ---- copyTexture ----
void copyTexture(texture* t)
{
    glPushAttrib(GL_TEXTURE_BIT);  // keep the caller's texture binding
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
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, t->width, t->height);
    glPopAttrib();
}

// ---- paintTexture ----
int paintTexture(texture* t)
{
    if (t->id == TEXTURE_NONE || t->textureWidth == 0 || t->textureHeight == 0) return 0;
    float s = float(t->width) / float(t->textureWidth);
    float r = float(t->height) / float(t->textureHeight);

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, t->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(0, r);
    glVertex2f(-1, 1);
    glTexCoord2f(s, r);
    glVertex2f(1, 1);
    glTexCoord2f(s, 0);
    glVertex2f(1, -1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    glPopAttrib();
    return 1;
}

// ---- deleteTexture ----
void deleteTexture(texture* t)
{
    if (t->id == TEXTURE_NONE) return;
    glDeleteTextures(1, &t->id);
    *t = EMPTY_TEXTURE;
}
