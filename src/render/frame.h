// Drawing one frame: the faded previous frame, the points, the menu.
#pragma once

// GLUT reshape callback: records the window size.
void reshapeFunc(int w, int h);
// GLUT display callback: draws the frame and presents it.
void displayFunc();
