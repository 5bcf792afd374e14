// The settings file: sections named after pages, key=value lines named after rows.
#pragma once

#include <cstdio>

#include "menu/menu.h"

// Writes every value row of every page.
void menuSave(menu* m, FILE* stream);
// Reads the stream to its end and assigns, clamped, the values it recognises.
void menuLoad(menu* m, FILE* stream);
// Assigns a value text to a value row as a settings-file line would: a check
// box takes any nonzero integer as 1, the others are clamped to their range,
// and a text that does not begin with a number keeps the current value.
void menuAssign(menuitem* item, const char* text);
