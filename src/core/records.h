// Records that the state record holds by value and that several roles
// share: a motion-blur texture, an attractor and its maps, a point of the
// cloud. Their operations live with their owners (render/texture.h,
// engine/attractor.h, engine/points.h).
#pragma once

#include <cstdint>

// ---- texture ----
struct texture {
    unsigned int id;    // GL texture name; TEXTURE_NONE while there is none
    int width;          // window area held, pixels
    int height;
    int textureWidth;   // power-of-two storage size; 0 while there is no storage
    int textureHeight;
};

constexpr unsigned int TEXTURE_NONE = 0xFFFFFFFFu;
constexpr texture EMPTY_TEXTURE = {TEXTURE_NONE, 0, 0, 0, 0};

// ---- attractor ----
struct transform {
    float translation;  // polar angle of the translation (length 0.5), radians
    float rotation;     // rotation of the linear part, radians
    int flipX;          // x scale is 0.5 - flipX; always 1 when generated
    int flipY;          // y scale is 0.5 - flipY
};

struct attractor {
    int count;              // number of maps, 2 .. degree-1
    int degree;             // vertex slots of the polygon, 3 .. 15
    transform* transforms;  // count maps, owned (heap)
};

// ---- point ----
struct point {
    uint8_t color[4];   // red, green, blue, alpha (alpha always 255)
    float x;            // position, -1..1 across the window
    float y;
    float colorParam;   // smoothed index of the maps applied lately; colour map input
};
static_assert(sizeof(point) == 16, "point must match the GL_C4UB_V2F stride");
