// The settings file: sections named after pages, key=value lines named after rows.
#pragma once

#include <cstdio>

#include "menu/menu.h"

// Writes every value row of every page.
void menuSave(menu* m, FILE* stream);
// Reads the stream to its end and assigns, clamped, the values it recognises.
void menuLoad(menu* m, FILE* stream);
