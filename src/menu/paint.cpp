// Placeholder until menu painting lands.
#include "menu/paint.h"
void menuDisplay(menu*, int, int) {}
