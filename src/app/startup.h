// Start-up: the run mode, the settings, the window back end, the main loop.
#pragma once

#include <cstdint>

#include "app/cmdline.h"

// The whole program: reads the command line, loads the settings, installs
// the window back end and enters its main loop.
int vyrMain(int argc, char** argv);
// Loads the settings file into the menu, assigns the setting options of the
// command line over it, and pushes every value into the state.
void readIniFile(const commandline* c);
// The engine ready to step: the random generator seeded, the cosine table
// filled, the settings pushed into the state (loaded with readIniFile when
// a command line is given, else the menu's current values), and the first
// two attractors made from them.
void startEngine(uint32_t seed, const commandline* c);
// Connects the program's handlers to what the window back ends report.
void connectWindowEvents();
