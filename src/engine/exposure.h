// Exposure control: point size and intensity from the coverage of the window.
#pragma once

constexpr float MINIMUM_ALPHA = 0.0390625f;
constexpr int PROXY_GRID = 16;        // cells per side of the coverage grid
constexpr int PROXY_LAST_SAMPLE = 1280;  // highest point index sampled

// Computes pointSize, alpha and surface for this step.
void evolveProxy();
// Grid cell (0..15) of a coordinate; coordinates outside -1..1 fall on the border cells.
int proxyCell(float v);
