// The drifting colour map: three cosines of a point's colour parameter.
#pragma once

extern float u1, u2, u3;  // frequency multipliers of red, green, blue (1..3)
extern float u4, u5, u6;  // phases of red, green, blue, radians

// Recomputes u1..u6 from the elapsed time and the time frequency.
void evolveColorMap();

// A phase as the point colouring uses it. The phases grow with the running
// time; past 2^20 radians (about a week at time frequency 1) the channel
// arguments would leave the range of the table cosine and every channel would
// read cos 0, turning the cloud white. From there the phase is reduced
// modulo 2*pi, which the periodic cosine does not see.
double colorMapPhase(float phase);
