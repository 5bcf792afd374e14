// Screen-sized textures that keep a copy of the window for the motion blur.
#pragma once

struct texture {
    unsigned int id;    // GL texture name; TEXTURE_NONE while there is none
    int width;          // window area held, pixels
    int height;
    int textureWidth;   // power-of-two storage size; 0 while there is no storage
    int textureHeight;
};

constexpr unsigned int TEXTURE_NONE = 0xFFFFFFFFu;
constexpr texture EMPTY_TEXTURE = {TEXTURE_NONE, 0, 0, 0, 0};

// Copies the window's lower-left area into the texture, allocating storage as needed.
void copyTexture(texture* t);
// Draws the held image over the whole window, modulated by the current colour.
// Returns 0 (and draws nothing) while the record holds no storage.
int paintTexture(texture* t);
// Deletes the texture object, if any, and empties the record.
void deleteTexture(texture* t);
