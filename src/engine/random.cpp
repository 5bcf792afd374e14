// Placeholder until the engine lands.
#include "engine/random.h"
static uint32_t State = 1;
void seedRandom(uint32_t seed) { State = seed; }
int randomNumber() { State = State * 1103515245u + 12345u; return (State >> 16) & RANDOM_MAX; }
