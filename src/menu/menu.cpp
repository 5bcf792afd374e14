// Whole-menu operations on the menu records (the row values are in rowvalue.cpp).
#include "menu/menu.h"

#include <cstring>

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
