// Keyboard navigation of the overlay menu: Escape shows and hides it, Up and
// Down move the highlight, Left and Right turn pages on the title row or
// change the highlighted row's value, Enter and Space operate the row.
//
// Index
//   - Row actions: menuItemKeyboard, menuItemSpecial
//   - Menu keys: menuKeyboard, menuSpecial
#include "menu/navigation.h"

#include "core/platform.h"
#include "menu/rowvalue.h"

constexpr unsigned char KEY_ESCAPE = 27;
constexpr unsigned char KEY_ENTER = 13;
constexpr unsigned char KEY_SPACE = 32;

// ---- Row actions -------------------------------------------------------------
void menuItemKeyboard(menuitem* item, unsigned char key)
{
    if (key != KEY_ENTER && key != KEY_SPACE) return;
    if (item->type == MENU_STATICTEXT) {
        auto* d = static_cast<statictext*>(item->data);
        if (d->execute) d->execute();
        return;
    }
    const rowvalueops* ops = rowValueOps(item);
    if (!ops || !ops->operate) return;  // separators and track bars have no Enter action
    ops->operate(item);
    menuRowChanged(item);
}

// Steps of a track bar for a key: +n, -n, or 0 when the key does not move it.
static int trackBarSteps(int key, int multiplier)
{
    switch (key) {
    case KEY_RIGHT: return multiplier;
    case KEY_LEFT: return -multiplier;
    case KEY_PAGE_UP: return 10 * multiplier;
    case KEY_PAGE_DOWN: return -10 * multiplier;
    default: return 0;
    }
}

void menuItemSpecial(menuitem* item, int key)
{
    int m = Platform.modifiers() != 0 ? 10 : 1;
    const rowvalueops* ops = rowValueOps(item);
    if (!ops || !ops->step) return;
    // A list box moves by one choice, on the arrows only.
    int n = ops->largeSteps ? trackBarSteps(key, m) : (key == KEY_RIGHT) - (key == KEY_LEFT);
    if (n != 0 && ops->step(item, n)) menuRowChanged(item);
}

// ---- Menu keys -------------------------------------------------------------------
// The highlighted row when it may be operated, else null (title row, unselectable).
static menuitem* highlightedItem(menupage* page)
{
    if (page->currentItem < 1 || page->currentItem > page->itemCount) return nullptr;
    menuitem* item = page->items[page->currentItem - 1];
    return item->selectable != 0 ? item : nullptr;
}

void menuKeyboard(menu* m, unsigned char key)
{
    if (key == KEY_ESCAPE) {
        m->visible = m->visible == 0 ? 1 : 0;
        return;
    }
    if (m->visible == 0) return;
    menuitem* item = highlightedItem(m->pages[m->currentPage]);
    if (item) menuItemKeyboard(item, key);
}

void menuSpecial(menu* m, int key)
{
    if (m->visible == 0) return;
    menupage* page = m->pages[m->currentPage];
    switch (key) {
    case KEY_UP: {
        if (page->currentItem == 0) return;
        int r = page->currentItem - 1;
        while (r >= 1 && page->items[r - 1]->selectable == 0) r--;
        page->currentItem = r;  // 0 when no selectable row is above: the title row
        return;
    }
    case KEY_DOWN:
        for (int r = page->currentItem + 1; r <= page->itemCount; r++) {
            if (page->items[r - 1]->selectable != 0) {
                page->currentItem = r;
                break;
            }
        }
        return;
    case KEY_LEFT:
        if (page->currentItem == 0 && m->currentPage != 0) {
            m->currentPage--;
            return;
        }
        break;
    case KEY_RIGHT:
        if (page->currentItem == 0 && m->currentPage < m->pageCount - 1) {
            m->currentPage++;
            return;
        }
        break;
    default:
        break;
    }
    menuitem* item = highlightedItem(page);
    if (item) menuItemSpecial(item, key);
}
