// Keyboard navigation of the overlay menu.
#pragma once

#include "menu/menu.h"

void menuKeyboard(menu* m, unsigned char key);
void menuSpecial(menu* m, int key);
void menuItemKeyboard(menuitem* item, unsigned char key);
void menuItemSpecial(menuitem* item, int key);
