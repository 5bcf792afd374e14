// Keyboard and mouse input, and the menu's commands.
#pragma once

void keyboardFunc(unsigned char key, int x, int y);
void specialFunc(int key, int x, int y);
void mouseFunc(int button, int state, int x, int y);
void passiveMotionFunc(int x, int y);

void resetExecute();
void saveExecute();
void quitExecute();
// Writes the menu into the settings file; returns nonzero when it was written completely.
int writeIniFile();
