// Placeholder until the settings file lands.
#include "menu/settings.h"
void menuSave(menu*, FILE*) {}
void menuLoad(menu*, FILE*) {}
