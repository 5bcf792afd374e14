// Placeholder until the engine lands.
#include "engine/points.h"
void evolveAlloc() {}
void evolvePoints() {}
