// The process around the program on Windows.
//
// Index
//   - Standard streams: openClosedStandardStreams, bufferConsoleLines
//   - Pending temporary file: setPendingTemporaryFile
//   - Signals: installSignalHandlers, setSignalExitStatus,
//     holdTerminatingSignals, releaseTerminatingSignals
#include "core/process.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <io.h>
#include <windows.h>

constexpr int PENDING_PATH_SIZE = 4096;  // bytes of the registered path, NUL included
// Ctrl+C, Ctrl+Break and a terminate request raised inside the process; the
// others have no source on Windows.
constexpr int TERMINATING_SIGNALS[] = {SIGINT, SIGBREAK, SIGTERM};

// ---- Standard streams ----------------------------------------------------------
void openClosedStandardStreams()
{
    // A program started without a console, or with a stream closed, has no
    // handle behind the stream: give it the null device.
    FILE* streams[] = {stdin, stdout, stderr};
    for (int fd = 0; fd <= 2; fd++) {
        if (_get_osfhandle(fd) != -1 && _get_osfhandle(fd) != -2) continue;
        if (!freopen("NUL", fd == 0 ? "r" : "w", streams[fd])) {}  // nothing more to try
    }
    // A console that only this process uses was made for it, because Windows
    // started the saver from the control panel rather than from a command
    // prompt: its lines have no reader, and the window would stand beside
    // the saver's. It is hidden; the streams stay valid.
    DWORD processes[2];
    HWND console = GetConsoleWindow();
    if (console && GetConsoleProcessList(processes, 2) == 1) ShowWindow(console, SW_HIDE);
}

// The runtime has no line buffering (its _IOLBF buffers fully, so lines
// would wait for the exit); unbuffered, each puts or printf still goes out
// in one write.
void bufferConsoleLines() { setvbuf(stdout, nullptr, _IONBF, 0); }

// ---- Pending temporary file ----------------------------------------------------
// The console's control handler runs on a thread of its own; the lock keeps
// it from reading the path while it changes, and makes it wait while the
// signals are held.
static CRITICAL_SECTION pendingLock;
static bool pendingLockReady = false;
static char pendingPath[PENDING_PATH_SIZE];
static bool pendingSet = false;
static volatile LONG signalExitStatus = -1;  // below 0: end as the runtime ends on that signal

static void initPendingLock()
{
    if (pendingLockReady) return;
    InitializeCriticalSection(&pendingLock);
    pendingLockReady = true;
}

int setPendingTemporaryFile(const char* path)
{
    initPendingLock();
    EnterCriticalSection(&pendingLock);
    int result = 1;
    pendingSet = false;
    if (path) {
        size_t length = strlen(path);
        if (length < sizeof pendingPath) {
            memcpy(pendingPath, path, length + 1);
            pendingSet = true;
        } else {
            result = 0;
        }
    }
    LeaveCriticalSection(&pendingLock);
    return result;
}

// ---- Signals ------------------------------------------------------------------------
static void terminateSignalFunc(int sig)
{
    EnterCriticalSection(&pendingLock);
    if (pendingSet) DeleteFileA(pendingPath);
    LONG status = signalExitStatus;
    if (status >= 0) _exit((int)status);
    signal(sig, SIG_DFL);
    raise(sig);
    _exit(3);  // the runtime's own status for a fatal signal
}

void installSignalHandlers()
{
    initPendingLock();
    for (int sig : TERMINATING_SIGNALS) {
        // A signal ignored from the start stays ignored.
        auto old = signal(sig, terminateSignalFunc);
        if (old == SIG_IGN) signal(sig, SIG_IGN);
    }
}

void setSignalExitStatus(int status) { signalExitStatus = status < 0 ? -1 : status; }

void holdTerminatingSignals()
{
    initPendingLock();
    EnterCriticalSection(&pendingLock);
}

void releaseTerminatingSignals() { LeaveCriticalSection(&pendingLock); }
