// The live figures of the statistics page.
#pragma once

// Formats the ten statistics lines while the menu is visible.
void evolveStatistics();
