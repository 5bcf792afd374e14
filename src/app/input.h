// Keyboard and mouse input.
#pragma once

void keyboardFunc(unsigned char key, int x, int y);
void specialFunc(int key, int x, int y);
void mouseFunc(int button, int state, int x, int y);
// Screen saver: ends on a pointer travel of more than 10 pixels from the
// reference, in screen coordinates where the back end knows them.
void passiveMotionFunc(int x, int y);
// Screen saver: the pointer's reference is where it rests now (the window
// was made, moved or resized: the monitors under a still pointer may have
// moved), or the next report where the back end cannot tell.
void restartPointerWatch();
