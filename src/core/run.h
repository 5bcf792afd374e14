// How this run was started, decided once by start-up: in a host's window
// or not, and the settings file it reads and writes.
#pragma once

constexpr int SETTINGS_PATH_SIZE = 1024;  // bytes of the settings file's path, NUL included

struct runstate {
    int hosted;                   // drawing in a host's window: the host's log hears
                                  // only of real problems, on standard error
    char settingsPath[SETTINGS_PATH_SIZE];  // the settings file of this run
    char formerSettingsPath[SETTINGS_PATH_SIZE];  // read instead until the first save moves it; "" if none
};

extern runstate Run;
