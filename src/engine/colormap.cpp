// Placeholder until the engine lands.
#include "engine/colormap.h"
float u1, u2, u3, u4, u5, u6;
void evolveColorMap() {}
