// Row values and whole-menu operations on the menu records.
//
// Index
//   - Row values
//   - Whole-menu operations
#include "menu/menu.h"

#include <cstring>

// ---- Row values ----
int menuRowHasValue(const menuitem* item)
{
    return item->type == MENU_CHECKBOX || item->type == MENU_LISTBOX || item->type == MENU_ITRACKBAR ||
           item->type == MENU_FTRACKBAR;
}

double menuRowValue(const menuitem* item)
{
    switch (item->type) {
    case MENU_CHECKBOX: return static_cast<const checkbox*>(item->data)->value;
    case MENU_LISTBOX: return static_cast<const listbox*>(item->data)->selected;
    case MENU_ITRACKBAR: return static_cast<const itrackbar*>(item->data)->value;
    case MENU_FTRACKBAR: return static_cast<const ftrackbar*>(item->data)->value;
    default: return 0;  // separators, texts and unknown codes hold no value
    }
}

void menuRowRange(const menuitem* item, double* lo, double* hi)
{
    *lo = *hi = 0;
    switch (item->type) {
    case MENU_CHECKBOX: *hi = 1; break;
    case MENU_LISTBOX: *hi = static_cast<const listbox*>(item->data)->choiceCount - 1; break;
    case MENU_ITRACKBAR: {
        auto* d = static_cast<const itrackbar*>(item->data);
        *lo = d->min;
        *hi = d->max;
        break;
    }
    case MENU_FTRACKBAR: {
        auto* d = static_cast<const ftrackbar*>(item->data);
        *lo = d->min;
        *hi = d->max;
        break;
    }
    default: break;
    }
}

void menuRowChanged(menuitem* item)
{
    switch (item->type) {
    case MENU_CHECKBOX: {
        auto* d = static_cast<checkbox*>(item->data);
        if (d->change) d->change(d->value);
        break;
    }
    case MENU_LISTBOX: {
        auto* d = static_cast<listbox*>(item->data);
        if (d->change) d->change(d->selected);
        break;
    }
    case MENU_ITRACKBAR: {
        auto* d = static_cast<itrackbar*>(item->data);
        if (d->change) d->change(d->value);
        break;
    }
    case MENU_FTRACKBAR: {
        auto* d = static_cast<ftrackbar*>(item->data);
        if (d->change) d->change(d->value);
        break;
    }
    default:  // texts carry commands, which only Enter runs
        break;
    }
}

// ---- Whole-menu operations ----
void menuInit(menu* m)
{
    // Values are read when each row is reached: a callback may rewrite later rows.
    for (int p = 0; p < m->pageCount; p++) {
        menupage* page = m->pages[p];
        for (int i = 0; i < page->itemCount; i++) menuRowChanged(page->items[i]);
    }
}

menuitem* findMenuItem(menu* m, const char* pageName, const char* itemName)
{
    for (int p = 0; p < m->pageCount; p++) {
        menupage* page = m->pages[p];
        if (strcmp(page->name, pageName) != 0) continue;
        for (int i = 0; i < page->itemCount; i++) {
            if (strcmp(page->items[i]->name, itemName) == 0) return page->items[i];
        }
    }
    return nullptr;
}
