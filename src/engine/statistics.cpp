// Placeholder until the engine lands.
#include "engine/statistics.h"
void evolveStatistics() {}
