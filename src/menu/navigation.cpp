// Placeholder until menu navigation lands.
#include "menu/navigation.h"
void menuKeyboard(menu* m, unsigned char key) { if (key == 27) m->visible = !m->visible; }
void menuSpecial(menu*, int) {}
void menuItemKeyboard(menuitem*, unsigned char) {}
void menuItemSpecial(menuitem*, int) {}
