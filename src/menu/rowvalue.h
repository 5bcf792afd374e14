// What each row type does with its value, in one table: read, write, clamp,
// parse and format it, step it from the keyboard, tell its callback. The
// settings file, the command line, navigation and the describe tool all go
// through it; only painting keeps its own per-type code.
#pragma once

#include "menu/menu.h"

// How a value is shown to the world outside the menu.
constexpr int VALUE_ONOFF = 1;    // a check box: on or off
constexpr int VALUE_CHOICE = 2;   // a list box: the index of a choice
constexpr int VALUE_WHOLE = 3;    // an integer track bar
constexpr int VALUE_DECIMAL = 4;  // a float track bar

// Values travel as double, which holds every int and float exactly.
struct rowvalueops {
    int type;  // MENU_*
    int kind;  // VALUE_*
    double (*read)(const menuitem* item);
    void (*write)(menuitem* item, double value);  // stores the value as it is: clamp first
    void (*range)(const menuitem* item, double* lo, double* hi);
    double (*clamp)(const menuitem* item, double value);
    // A settings-file value: a number at the start of text (an int saturated
    // at the int range, or a float); false when text does not begin with one.
    bool (*parse)(const char* text, double* value);
    // The number as the settings file and the options write it; decimals
    // count for a float only.
    void (*format)(double value, int decimals, char* out, int size);
    void (*changed)(menuitem* item);  // tells the change callback, if any, the value held
    // Enter and Space: the next value (check box toggled, next choice); null
    // for track bars.
    void (*operate)(menuitem* item);
    // Left, Right, Page Up and Page Down: moves by steps (a list box by one
    // choice, a track bar by its step), stopping at the range's end in the
    // direction of the move. Returns 1 when the callback is to hear of it: a
    // list box only when it moved, a track bar every time. Null for check boxes.
    int (*step)(menuitem* item, int steps);
    bool largeSteps;  // Page keys and held modifiers give ten steps (track bars)
};

// The operations of the item's type; null for rows without a value
// (separators, texts, unknown codes).
const rowvalueops* rowValueOps(const menuitem* item);
// The k-th choice of a list box row.
const char* rowChoiceText(const menuitem* item, int k);
