// The hosted back end on Windows: no screen-saver host here hands a window
// over by these arguments (the control panel's preview window comes with /p,
// which returns at once), so a host window given with --window-id or --root
// is refused with a line.
#include "app/window.h"

#include <cstdio>

int useHostWindow(unsigned long window)
{
    printf("Cannot draw into host window 0x%lx: there are no host windows on Windows.\n", window);
    return 0;
}
