// Menu records: a menu of pages, a page of typed rows, each row pointing at
// the data record that holds its value and its change callback.
//
// Index
//   - Type codes
//   - Row data records
//   - menuitem, menupage, menu
//   - Row values (through the row-type table of rowvalue.h)
//   - Whole-menu operations: menuInit, findMenuItem
#pragma once

// ---- Type codes (compared for equality, never masked) ----------------------
constexpr int MENU_SEPARATOR = 1;
constexpr int MENU_STATICTEXT = 2;
constexpr int MENU_CHECKBOX = 4;
constexpr int MENU_LISTBOX = 8;
constexpr int MENU_ITRACKBAR = 16;
constexpr int MENU_FTRACKBAR = 32;

constexpr int TRACKBAR_TEXT_SIZE = 256;  // bytes of a track bar's formatted label

// ---- Row data records -----------------------------------------------------
struct statictext {
    void (*execute)();  // command run by Enter/Space, or null for plain text
};

struct checkbox {
    int value;               // 0 or 1
    void (*change)(int);     // told the new value, or null
};

struct listbox {
    int choiceCount;         // at least 1
    int selected;            // 0 .. choiceCount-1
    const char* const* texts;  // choiceCount choice labels
    void (*change)(int);     // told the new selected index, or null
};

struct itrackbar {
    int min, max, value, step;
    char text[TRACKBAR_TEXT_SIZE];  // name formatted with value, rewritten when measured
    void (*change)(int);
};

struct ftrackbar {
    float min, max, value, step;
    char text[TRACKBAR_TEXT_SIZE];
    void (*change)(float);
};

// ---- Rows, pages, menu ----------------------------------------------------
struct menuitem {
    int type;            // MENU_* code
    int selectable;      // nonzero: the highlight may rest here
    const char* name;    // label; for a track bar a printf format with one conversion
    void* data;          // the type's data record; null for a separator
};

struct menupage {
    const char* name;    // title, and section name in the settings file
    int itemCount;
    int currentItem;     // 0 = title row, k = k-th row
    menuitem** items;
};

struct menu {
    int visible;         // nonzero while shown
    int pageCount;
    int currentPage;
    menupage** pages;
};

// ---- Row values ----------------------------------------------------------------
// 1 for the rows that hold a value: check boxes, list boxes, track bars.
int menuRowHasValue(const menuitem* item);
// The value a row holds (0/1, the selected index, the track bar's value); 0 for other rows.
double menuRowValue(const menuitem* item);
// The values a row can hold: 0..1, 0..choiceCount-1, min..max; 0..0 for other rows.
void menuRowRange(const menuitem* item, double* lo, double* hi);
// Tells the row's change callback, if it has one, the value it holds now.
void menuRowChanged(menuitem* item);

// ---- Whole-menu operations ------------------------------------------------
// Calls every value row's change callback once with its stored value.
void menuInit(menu* m);
// First row called itemName on the first page titled pageName that has one.
menuitem* findMenuItem(menu* m, const char* pageName, const char* itemName);
