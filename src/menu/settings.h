// The settings file: sections named after pages, key=value lines named after rows.
#pragma once

#include <cstddef>
#include <cstdio>

#include "menu/menu.h"

constexpr size_t SETTINGS_TEXT_SIZE = 16384;  // bytes that hold the whole file of the menu

// Formats every value row of every page into text (at most size bytes, NUL
// included). Returns the length of the whole text, which is size or more when
// it did not fit.
size_t menuFormat(menu* m, char* text, size_t size);
// Writes every value row of every page (the text of menuFormat, up to
// SETTINGS_TEXT_SIZE - 1 bytes).
void menuSave(menu* m, FILE* stream);
// Reads the stream to its end and assigns, clamped, the values it recognises.
void menuLoad(menu* m, FILE* stream);
// Assigns a value text to a value row as a settings-file line would: a check
// box takes any nonzero integer as 1, the others are clamped to their range,
// and a text that does not begin with a number keeps the current value.
void menuAssign(menuitem* item, const char* text);
