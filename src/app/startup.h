// Start-up: the run mode, the settings, the window back end, the main loop.
#pragma once

#include "app/cmdline.h"

// The whole program: reads the command line, loads the settings, installs
// the window back end and enters its main loop.
int vyrMain(int argc, char** argv);
// Loads the settings file into the menu, assigns the setting options of the
// command line over it, and pushes every value into the state.
void readIniFile(const commandline* c);
// The same with the command line read from argc and argv.
void readIniFile(int argc = 0, char** argv = nullptr);
// Connects the program's handlers to what the window back ends report.
void connectWindowEvents();
