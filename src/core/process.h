// The process around the program: standard streams, terminating signals and
// the temporary file they must not leave behind.
#pragma once

// Opens the null device on every standard stream (input, output, error) that
// is closed, so that no later file, such as the display connection, takes its
// number and receives the console lines.
void openClosedStandardStreams();

// Console lines go out whole and at once, even into a pipe or a file.
void bufferConsoleLines();

// Forgets the last system error, before an action whose failure is reported.
void clearSystemError();
// Reports a write of the file at path that a person asked for and that
// failed (a save, a reset): the line on standard output, and after it the
// full path with the reason when it is not the current folder's file; where console lines
// reach no one (a Windows program started without a console), in a message
// box with the file's full path and the system's reason instead. Returns 1
// if it went into a box.
int reportFailure(const char* line, const char* path);

// A console line that cannot be written (the reader has gone) is dropped and
// the program goes on; so does a save past the file-size limit, which fails. A request to terminate (interrupt, hang-up, terminate)
// removes the temporary file being written, if any, and ends the process.
void installSignalHandlers();

// The exit status a terminating signal ends the process with: 0 or more for
// that status, below 0 (the default) for the conventional death by the signal.
void setSignalExitStatus(int status);

// While held, terminating signals wait; they take effect at the release
// (a signal the caller had blocked before stays blocked). Not nested.
// Brackets the creation of a temporary file and its registration, its
// rename and unregistration, and an in-place rewrite, so that no signal
// falls between the two.
void holdTerminatingSignals();
void releaseTerminatingSignals();

// Starts a detached thread running body(argument) with the terminating
// signals blocked, so that they always reach the main thread, which holds
// them while it writes a file; a thread taking one would end the process in
// the middle of the write. Returns 1 when it runs. POSIX only.
int startThreadWithoutSignals(void* (*body)(void*), void* argument);

// Registers the temporary file being written (nullptr: none), which a
// terminating signal removes. The path is copied; longer than 4095 bytes it
// is refused (returns 0). Call with the signals held.
int setPendingTemporaryFile(const char* path);
