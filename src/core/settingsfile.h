// The settings file on disk: where it is, opening it for reading, replacing
// its text, and emptying it. Only a regular file is read or written: a
// folder, a pipe or a device in its place is refused at once, never waited on.
//
// Index
//   - Where: SETTINGS_FILE_NAME, SETTINGS_PATH_RULE, WINDOWS_SETTINGS_PATH_RULE, settingsFilePath
//   - Reading: openSettingsForReading, settingsFileMissing
//   - Writing: replaceSettingsFile, emptySettingsFile
#pragma once

#include <cstddef>
#include <cstdio>

// ---- Where ---------------------------------------------------------------------
constexpr const char* SETTINGS_FILE_NAME = "VYR.ini";

// The rule settingsFilePath follows, as the usage text and the README give it.
constexpr const char* SETTINGS_PATH_RULE =
    "VYR.ini in the current folder; in a hosted run (--root, --window-id) and the wallpaper (--wallpaper) VYR.ini in the home folder "
    "($HOME), whatever folder the host runs in; on Windows, when started in the system folder (as "
    "Windows starts a screen saver), %APPDATA%\\VYR\\VYR.ini, its folder made at the first save.";
// The same rule as it holds on Windows.
constexpr const char* WINDOWS_SETTINGS_PATH_RULE =
    "VYR.ini in the current folder; when started in the system folder (as Windows starts a screen saver), "
    "%APPDATA%\\VYR\\VYR.ini, its folder made at the first save.";

// The settings file of a run (hosted: in a host's window), into out:
// SETTINGS_FILE_NAME itself for the current folder, or a full path. Falls
// back to the current folder when the place cannot be named.
void settingsFilePath(int hosted, char* out, size_t size);

// ---- Reading --------------------------------------------------------------------
// The settings file opened for reading, or nullptr when it is missing,
// unreadable or not a regular file. Opening never blocks.
FILE* openSettingsForReading(const char* name);

// 1 when nothing of that name exists (nor the folder it would be in): an
// absent file, which is no fault, as opposed to one that cannot be read.
int settingsFileMissing(const char* name);

// ---- Writing ----------------------------------------------------------------------
// Replaces the file's content with text (length bytes, lines ended by '\n').
// A symbolic link is followed, a dangling one creates the file it names.
// The new text is written beside the file and takes its place only once it
// is on the disk; where that cannot be done the file is rewritten in place,
// the whole text at once. Returns 1 on success; on failure the old file is
// left whole, except when an in-place write fails part-way, which is then
// reported on standard output.
int replaceSettingsFile(const char* name, const char* text, size_t length);

// On Windows both first make the file's folder when it is missing (one
// level: %APPDATA%\VYR).

// Empties the file, or creates it empty (the reset). Returns 1 on success.
int emptySettingsFile(const char* name);
