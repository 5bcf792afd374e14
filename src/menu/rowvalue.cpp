// The row-type table and the row values read through it.
//
// Index
//   - Numbers: parsing with saturation, formatting
//   - Check box, list box, integer and float track bar
//   - The table: rowValueOps, rowChoiceText
//   - Row values: menuRowHasValue, menuRowValue, menuRowRange, menuRowChanged
#include "menu/rowvalue.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// ---- Numbers -----------------------------------------------------------------------
// A decimal integer after optional blanks, stopping at the first other byte;
// too large a number saturates at the int range. False when there is no digit.
static bool parseInt(const char* text, double* out)
{
    char* end = nullptr;
    errno = 0;
    long long v = strtoll(text, &end, 10);
    if (end == text) return false;
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    *out = (int)v;
    return true;
}

// A float in decimal or exponent notation. Not-a-number is refused; an
// infinity (or an overflowing exponent) is kept for the clamp to the bound.
static bool parseFloat(const char* text, double* out)
{
    char* end = nullptr;
    float v = strtof(text, &end);
    if (end == text || std::isnan(v)) return false;
    *out = v;
    return true;
}

static void formatInt(double value, int, char* out, int size) { snprintf(out, size, "%d", (int)value); }
static void formatFloat(double value, int decimals, char* out, int size) { snprintf(out, size, "%.*f", decimals, value); }

static double clampTo(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

template <typename T>
static T* dataOf(const menuitem* item)
{
    return static_cast<T*>(item->data);
}

// ---- Check box ---------------------------------------------------------------------
static double checkBoxRead(const menuitem* item) { return dataOf<checkbox>(item)->value; }
static void checkBoxWrite(menuitem* item, double v) { dataOf<checkbox>(item)->value = (int)v; }
static void checkBoxRange(const menuitem*, double* lo, double* hi)
{
    *lo = 0;
    *hi = 1;
}
static double checkBoxClamp(const menuitem*, double v) { return v != 0 ? 1 : 0; }  // any nonzero number is on
static void checkBoxChanged(menuitem* item)
{
    auto* d = dataOf<checkbox>(item);
    if (d->change) d->change(d->value);
}
static void checkBoxOperate(menuitem* item)
{
    auto* d = dataOf<checkbox>(item);
    d->value = d->value == 0 ? 1 : 0;
}

// ---- List box -----------------------------------------------------------------------
static double listBoxRead(const menuitem* item) { return dataOf<listbox>(item)->selected; }
static void listBoxWrite(menuitem* item, double v) { dataOf<listbox>(item)->selected = (int)v; }
static void listBoxRange(const menuitem* item, double* lo, double* hi)
{
    *lo = 0;
    *hi = dataOf<listbox>(item)->choiceCount - 1;
}
static double listBoxClamp(const menuitem* item, double v) { return clampTo(v, 0, dataOf<listbox>(item)->choiceCount - 1); }
static void listBoxChanged(menuitem* item)
{
    auto* d = dataOf<listbox>(item);
    if (d->change) d->change(d->selected);
}
static void listBoxOperate(menuitem* item)
{
    auto* d = dataOf<listbox>(item);
    d->selected = d->choiceCount > 0 ? (d->selected + 1) % d->choiceCount : 0;
}
static int listBoxStep(menuitem* item, int steps)
{
    auto* d = dataOf<listbox>(item);
    if (steps < 0 && d->selected > 0) d->selected--;
    else if (steps > 0 && d->selected < d->choiceCount - 1) d->selected++;
    else return 0;
    return 1;
}

// ---- Integer track bar ------------------------------------------------------------------
static double iTrackBarRead(const menuitem* item) { return dataOf<itrackbar>(item)->value; }
static void iTrackBarWrite(menuitem* item, double v) { dataOf<itrackbar>(item)->value = (int)v; }
static void iTrackBarRange(const menuitem* item, double* lo, double* hi)
{
    *lo = dataOf<itrackbar>(item)->min;
    *hi = dataOf<itrackbar>(item)->max;
}
static double iTrackBarClamp(const menuitem* item, double v)
{
    return clampTo(v, dataOf<itrackbar>(item)->min, dataOf<itrackbar>(item)->max);
}
static void iTrackBarChanged(menuitem* item)
{
    auto* d = dataOf<itrackbar>(item);
    if (d->change) d->change(d->value);
}
static int iTrackBarStep(menuitem* item, int steps)
{
    auto* d = dataOf<itrackbar>(item);
    // Wide arithmetic: a large step never wraps around before the clamp.
    long long v = (long long)d->value + (long long)steps * d->step;
    if (steps > 0 && v > d->max) v = d->max;
    if (steps < 0 && v < d->min) v = d->min;
    d->value = (int)v;
    return 1;
}

// ---- Float track bar --------------------------------------------------------------------
static double fTrackBarRead(const menuitem* item) { return dataOf<ftrackbar>(item)->value; }
static void fTrackBarWrite(menuitem* item, double v) { dataOf<ftrackbar>(item)->value = (float)v; }
static void fTrackBarRange(const menuitem* item, double* lo, double* hi)
{
    *lo = dataOf<ftrackbar>(item)->min;
    *hi = dataOf<ftrackbar>(item)->max;
}
static double fTrackBarClamp(const menuitem* item, double v)
{
    v = clampTo(v, dataOf<ftrackbar>(item)->min, dataOf<ftrackbar>(item)->max);
    return v == 0 ? 0 : v;  // "-0" would be shown and saved with its sign
}
static void fTrackBarChanged(menuitem* item)
{
    auto* d = dataOf<ftrackbar>(item);
    if (d->change) d->change(d->value);
}
static int fTrackBarStep(menuitem* item, int steps)
{
    auto* d = dataOf<ftrackbar>(item);
    // Single precision on purpose: repeated steps accumulate float rounding.
    float v = d->value + (float)steps * d->step;
    if (steps > 0 && v > d->max) v = d->max;
    if (steps < 0 && v < d->min) v = d->min;
    d->value = v;
    return 1;
}

// ---- The table ----------------------------------------------------------------------------
static const rowvalueops ROW_VALUE_OPS[] = {
    {MENU_CHECKBOX, VALUE_ONOFF, checkBoxRead, checkBoxWrite, checkBoxRange, checkBoxClamp, parseInt, formatInt,
     checkBoxChanged, checkBoxOperate, nullptr, false},
    {MENU_LISTBOX, VALUE_CHOICE, listBoxRead, listBoxWrite, listBoxRange, listBoxClamp, parseInt, formatInt,
     listBoxChanged, listBoxOperate, listBoxStep, false},
    {MENU_ITRACKBAR, VALUE_WHOLE, iTrackBarRead, iTrackBarWrite, iTrackBarRange, iTrackBarClamp, parseInt, formatInt,
     iTrackBarChanged, nullptr, iTrackBarStep, true},
    {MENU_FTRACKBAR, VALUE_DECIMAL, fTrackBarRead, fTrackBarWrite, fTrackBarRange, fTrackBarClamp, parseFloat,
     formatFloat, fTrackBarChanged, nullptr, fTrackBarStep, true},
};

const rowvalueops* rowValueOps(const menuitem* item)
{
    for (const rowvalueops& ops : ROW_VALUE_OPS) {
        if (ops.type == item->type) return &ops;
    }
    return nullptr;  // separators, texts and unknown codes hold no value
}

const char* rowChoiceText(const menuitem* item, int k) { return dataOf<listbox>(item)->texts[k]; }

// ---- Row values ------------------------------------------------------------------------------
int menuRowHasValue(const menuitem* item) { return rowValueOps(item) != nullptr; }

double menuRowValue(const menuitem* item)
{
    const rowvalueops* ops = rowValueOps(item);
    return ops ? ops->read(item) : 0;
}

void menuRowRange(const menuitem* item, double* lo, double* hi)
{
    *lo = *hi = 0;
    if (const rowvalueops* ops = rowValueOps(item)) ops->range(item, lo, hi);
}

void menuRowChanged(menuitem* item)
{
    // Texts carry commands, which only Enter runs.
    if (const rowvalueops* ops = rowValueOps(item)) ops->changed(item);
}
