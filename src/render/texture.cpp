// Placeholder until the motion blur lands.
#include "render/texture.h"
#include <GL/gl.h>
void copyTexture(texture*) {}
int paintTexture(texture*) { return 0; }
void deleteTexture(texture* t)
{
    if (t->id == TEXTURE_NONE) return;
    glDeleteTextures(1, &t->id);
    *t = EMPTY_TEXTURE;
}
