// Exposure control: point size and intensity from the coverage of the window.
#pragma once

constexpr float MINIMUM_ALPHA = 0.0390625f;

// Computes pointSize, alpha and surface for this step.
void evolveProxy();
