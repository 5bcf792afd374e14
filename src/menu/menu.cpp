// Whole-menu operations on the menu records.
#include "menu/menu.h"

#include <cstring>

static void initItem(menuitem* item)
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
    default:  // separators, texts (commands never run here), unknown codes
        break;
    }
}

void menuInit(menu* m)
{
    // Values are read when each row is reached: a callback may rewrite later rows.
    for (int p = 0; p < m->pageCount; p++) {
        menupage* page = m->pages[p];
        for (int i = 0; i < page->itemCount; i++) initItem(page->items[i]);
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
