// The drifting colour map: three cosines of a point's colour parameter.
#pragma once

extern float u1, u2, u3;  // frequency multipliers of red, green, blue (1..3)
extern float u4, u5, u6;  // phases of red, green, blue, radians (within one turn on long runs)

// Recomputes u1..u6 from the run time and the time frequency.
void evolveColorMap();
