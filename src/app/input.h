// Keyboard and mouse input.
#pragma once

void keyboardFunc(unsigned char key, int x, int y);
void specialFunc(int key, int x, int y);
void mouseFunc(int button, int state, int x, int y);
void passiveMotionFunc(int x, int y);
