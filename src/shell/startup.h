// Start-up, run modes and the idle step.
#pragma once

constexpr const char* SETTINGS_FILE_NAME = "VYR.ini";

// The whole program: decides the run mode, loads the settings, enters the main loop.
int vyrMain(int argc, char** argv);
// Run mode decided from the arguments: MODE_SCREENSAVER, MODE_CONFIGURE or MODE_PREVIEW.
int screenSaverMode(int argc, char** argv);
// 1 if an entry of the null-terminated list is a prefix of s.
int findstr(const char* s, const char* const* list);
// 1 if s begins with prefix.
int strcmpleft(const char* prefix, const char* s);
// Loads the settings file into the menu, assigns the setting options of the
// command line over it, and pushes every value into the state.
void readIniFile(int argc = 0, char** argv = nullptr);
// Idle callback: one animation step, then a redisplay; nothing while the
// window is hidden or the last step's frame is not drawn yet.
void idleFunc();
// The window back end reports whether its window can be seen (1) or is
// hidden or fully covered (0): the animation pauses and resumes.
void windowShown(int shown);
