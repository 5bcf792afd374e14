// The settings file on disk: opening it for reading, replacing its text, and
// emptying it. Only a regular file is read or written: a folder, a pipe or a
// device in its place is refused at once, never waited on.
#pragma once

#include <cstddef>
#include <cstdio>

// The settings file opened for reading, or nullptr when it is missing,
// unreadable or not a regular file. Opening never blocks.
FILE* openSettingsForReading(const char* name);

// Replaces the file's content with text (length bytes, lines ended by '\n').
// A symbolic link is followed, a dangling one creates the file it names.
// The new text is written beside the file and takes its place only once it
// is on the disk; where that cannot be done the file is rewritten in place,
// the whole text at once. Returns 1 on success; on failure the old file is
// left whole, except when an in-place write fails part-way, which is then
// reported on standard output.
int replaceSettingsFile(const char* name, const char* text, size_t length);

// Empties the file, or creates it empty (the reset). Returns 1 on success.
int emptySettingsFile(const char* name);
