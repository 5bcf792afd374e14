// The menu's commands: reset, save, cancel; and the settings file they write.
#pragma once

void resetExecute();
void saveExecute();
void quitExecute();
// Writes the menu into the settings file; returns nonzero when it was written completely.
int writeIniFile();
