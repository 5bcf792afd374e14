// The menu's commands, which the fuzz target links instead of the real input
// code (and its GLUT dependencies): loading settings must never run a command.
#include <cstdio>
#include <cstdlib>

#include "app/commands.h"

static void neverCalled(const char* name)
{
    fprintf(stderr, "menuLoad ran the command %s\n", name);
    abort();
}

void resetExecute() { neverCalled("resetExecute"); }
void saveExecute() { neverCalled("saveExecute"); }
void quitExecute() { neverCalled("quitExecute"); }

// The statistics page names the renderer's and the presentation's lines; loading never draws.
#include "render/frame.h"
rendererstate Renderer = {0, {}};
#include "render/memframe.h"
presentationstate Presentation = {0, {}};
