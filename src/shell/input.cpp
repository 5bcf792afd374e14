// Placeholder until input lands.
#include "shell/input.h"
#include <cstdlib>
#include "menu/navigation.h"
#include "shell/state.h"
void keyboardFunc(unsigned char key, int, int)
{
    if (ApplicationData.runMode == MODE_SCREENSAVER) exit(0);
    if (key == 'q') quitExecute();
    menuKeyboard(ApplicationData.currentMenu, key);
}
void specialFunc(int key, int, int)
{
    if (ApplicationData.runMode == MODE_SCREENSAVER) exit(0);
    menuSpecial(ApplicationData.currentMenu, key);
}
void mouseFunc(int, int, int, int) { if (ApplicationData.runMode == MODE_SCREENSAVER) exit(0); }
void passiveMotionFunc(int, int) {}
void resetExecute() { exit(0); }
void saveExecute() { exit(0); }
void quitExecute() { exit(0); }
int writeIniFile() { return 0; }
