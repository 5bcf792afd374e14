// The settings file on disk: where it is, opening it for reading, replacing
// its text, and emptying it. Only a regular file is read or written: a
// folder, a pipe or a device in its place is refused at once, never waited on.
//
// Index
//   - Where: SETTINGS_FILE_NAME, SETTINGS_HERE/PER_USER, SETTINGS_PATH_RULE, WINDOWS_SETTINGS_PATH_RULE,
//     settingsFilePath, formerSettingsFilePath, settingsFailureReason
//   - Reading: openSettingsForReading, settingsFileMissing
//   - Writing: replaceSettingsFile, emptySettingsFile
#pragma once

#include <cstddef>
#include <cstdio>

// ---- Where ---------------------------------------------------------------------
constexpr const char* SETTINGS_FILE_NAME = "VYR.ini";

// Where a run keeps its settings: the current folder's file, or the user's
// own file whatever the folder (the runs a host or a desktop starts).
constexpr int SETTINGS_HERE = 0;
constexpr int SETTINGS_PER_USER = 1;

// The rules settingsFilePath follows, as the usage text and the README give them.
constexpr const char* SETTINGS_PATH_RULE =
    "VYR.ini in the current folder; in a run a host or a desktop starts (--root, --window-id, "
    "--user-settings) the user's own file, $XDG_CONFIG_HOME/vyr/VYR.ini (~/.config/vyr/VYR.ini when "
    "XDG_CONFIG_HOME is unset), its folder made at the first save, with ~/VYR.ini read instead while only "
    "it exists and moved there by the first save.";
// The same rules as they hold on Windows.
constexpr const char* WINDOWS_SETTINGS_PATH_RULE =
    "VYR.ini in the current folder; when started in the system folder (as Windows starts a screen saver) "
    "or with --user-settings, %APPDATA%\\VYR\\VYR.ini, its folder made at the first save.";

// The settings file of a run under rule (SETTINGS_*), into out:
// SETTINGS_FILE_NAME itself for the current folder, or a full path. The
// home folder is $HOME, else the password database's. Returns 0 when the
// user's file cannot be named (no home folder at all): out then names the
// current folder's file, and the caller says so.
int settingsFilePath(int rule, char* out, size_t size);

// The file read instead of path until the first save replaces it: the
// user's file where it used to be kept (~/VYR.ini), when path does not
// exist and that one is a regular file; "" when there is none.
void formerSettingsFilePath(int rule, const char* path, char* out, size_t size);

// The reason that follows a failed read or write: the system's text for
// err, or for 0 that the name is no regular file.
const char* settingsFailureReason(int err);

// ---- Reading --------------------------------------------------------------------
// The settings file opened for reading, or nullptr when it is missing,
// unreadable (errno says why) or not a regular file (errno 0). Opening
// never blocks.
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

// Both first make the file's folder when it is missing (on Windows one
// level, %APPDATA%\VYR; elsewhere every missing level of the name, such as
// ~/.config/vyr, readable by the user alone).

// Empties the file, or creates it empty (the reset). Returns 1 on success.
int emptySettingsFile(const char* name);
