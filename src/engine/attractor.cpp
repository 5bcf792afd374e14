// Placeholder until the engine lands.
#include "engine/attractor.h"
void allocAttractor(attractor*) {}
void freeAttractor(attractor*) {}
void mapMatrix(float*, transform, transform, float) {}
