// Painting the overlay menu with OpenGL 1.1 and GLUT bitmap fonts.
#pragma once

#include "menu/menu.h"

// Draws the current page over the picture while the menu is visible.
void menuDisplay(menu* m, int width, int height);
