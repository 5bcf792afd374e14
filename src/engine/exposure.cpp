// Placeholder until the engine lands.
#include "engine/exposure.h"
void evolveProxy() {}
