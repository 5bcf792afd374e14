// Placeholder until the engine lands.
#include "engine/timing.h"
#include "render/window.h"
void evolve() { evolveWindow(); }
void evolveTime() {}
