// Screen-sized textures that keep a copy of the window for the motion blur.
#pragma once

#include "core/records.h"

// Copies the window's lower-left area into the texture, allocating storage as needed.
void copyTexture(texture* t);
// Copies only the window rectangle x, y, w, h (pixels, lower-left origin) to
// the same texels, allocating storage for the whole window as needed.
void copyTextureArea(texture* t, int x, int y, int w, int h);
// Replaces the image by a window-sized one of RGBA bytes, bottom row first.
void uploadTexture(texture* t, const void* rgba);
// 1 once the record holds storage (an image to paint), else 0.
int textureHasStorage(const texture* t);
// Draws the held image over the whole window, modulated by the current colour.
// Returns 0 (and draws nothing) while the record holds no storage.
int paintTexture(texture* t);
// Draws the texels of the window rectangle x, y, w, h back onto the same
// pixels; for an image copied at the window's present size. Returns 0 while
// the record holds no storage.
int paintTextureArea(texture* t, int x, int y, int w, int h);
// Deletes the texture object, if any, and empties the record.
void deleteTexture(texture* t);
