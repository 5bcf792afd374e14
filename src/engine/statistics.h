// The live figures of the statistics page.
#pragma once

// Formats the eleven statistics lines while the menu is visible.
void evolveStatistics();
