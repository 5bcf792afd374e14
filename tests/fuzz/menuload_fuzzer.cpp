// libFuzzer target: menuLoad over arbitrary bytes. After every input the
// menu must still hold valid values (check boxes 0 or 1, choices and track-bar
// values in range, no NaN) and the navigation fields must be untouched.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/mainmenu.h"
#include "menu/settings.h"

static void require(bool ok, const char* what)
{
    if (ok) return;
    fprintf(stderr, "menuLoad broke an invariant: %s\n", what);
    abort();
}

static void checkMenu(const menu* m)
{
    require(m->visible == 0 && m->currentPage == 0, "navigation fields changed");
    for (int p = 0; p < m->pageCount; p++) {
        const menupage* page = m->pages[p];
        require(page->currentItem == 0, "highlight changed");
        for (int i = 0; i < page->itemCount; i++) {
            const menuitem* item = page->items[i];
            switch (item->type) {
            case MENU_CHECKBOX: {
                int v = static_cast<checkbox*>(item->data)->value;
                require(v == 0 || v == 1, "check box not 0 or 1");
                break;
            }
            case MENU_LISTBOX: {
                auto* d = static_cast<listbox*>(item->data);
                require(d->selected >= 0 && d->selected < d->choiceCount, "list box out of range");
                break;
            }
            case MENU_ITRACKBAR: {
                auto* d = static_cast<itrackbar*>(item->data);
                require(d->value >= d->min && d->value <= d->max, "integer track bar out of range");
                break;
            }
            case MENU_FTRACKBAR: {
                auto* d = static_cast<ftrackbar*>(item->data);
                require(!std::isnan(d->value), "float track bar is NaN");
                require(d->value >= d->min && d->value <= d->max, "float track bar out of range");
                break;
            }
            default:
                break;
            }
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    resetMainMenu();
    if (size == 0) return 0;  // fmemopen needs at least one byte
    FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (!stream) return 0;
    menuLoad(&MainMenu, stream);
    fclose(stream);
    checkMenu(&MainMenu);
    return 0;
}
