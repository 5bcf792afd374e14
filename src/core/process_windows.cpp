// The process around the program on Windows.
//
// Index
//   - Standard streams: openClosedStandardStreams, bufferConsoleLines
//   - Failures: clearSystemError, reportFailure
//   - Pending temporary file: setPendingTemporaryFile
//   - Signals: installSignalHandlers, setSignalExitStatus,
//     holdTerminatingSignals, releaseTerminatingSignals
#include "core/process.h"

#include <cerrno>
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
// A GUI program: Windows gives it no console. Started from a command prompt,
// its lines go to the prompt's console; started by the control panel, they
// reach no one.
static bool consoleLinesDropped = false;

static bool hasHandle(int fd) { return _get_osfhandle(fd) != -1 && _get_osfhandle(fd) != -2; }

void openClosedStandardStreams()
{
    FILE* streams[] = {stdin, stdout, stderr};
    bool attached = false;
    if (!hasHandle(1) || !hasHandle(2)) attached = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
    for (int fd = 0; fd <= 2; fd++) {
        if (hasHandle(fd)) continue;
        if (attached && fd > 0 && freopen("CONOUT$", "w", streams[fd])) continue;
        // The null device keeps the stream valid: lines written to it are dropped.
        if (!freopen("NUL", fd == 0 ? "r" : "w", streams[fd])) {}  // nothing more to try
        if (fd == 1) consoleLinesDropped = true;
    }
}

// The runtime has no line buffering (its _IOLBF buffers fully, so lines
// would wait for the exit); unbuffered, each puts or printf still goes out
// in one write.
void bufferConsoleLines() { setvbuf(stdout, nullptr, _IONBF, 0); }

// ---- Failures ----------------------------------------------------------------
void clearSystemError()
{
    SetLastError(0);
    errno = 0;
}

int reportFailure(const char* line, const char* path)
{
    DWORD error = GetLastError();  // before anything else can change them
    int err = errno;
    if (!consoleLinesDropped) {
        puts(line);
        return 0;
    }
    if (error == 0 && err == 0) {
        // Refused before the system was asked (a folder or a read-only file
        // of that name): ask it now, opening what is there without changing it.
        HANDLE h = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) error = GetLastError();
        else CloseHandle(h);
    }
    char reason[256] = "";
    if (error == 0 || !FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                      reason, sizeof reason, nullptr)) {
        snprintf(reason, sizeof reason, "%s", err ? strerror(err) : "");
    }
    for (size_t n = strlen(reason); n > 0 && (reason[n - 1] == '\n' || reason[n - 1] == '\r'); n--) reason[n - 1] = '\0';
    // The file named in full: the current folder is not the person's to see.
    char full[MAX_PATH * 2];
    if (GetFullPathNameA(path, sizeof full, full, nullptr) - 1 >= sizeof full - 1) snprintf(full, sizeof full, "%s", path);
    char text[MAX_PATH * 2 + 512];
    snprintf(text, sizeof text, "%s\n\n%s\n\n%s", line, full, reason);
    // Owned by the program's window, which waits until it is closed.
    MessageBoxA(GetActiveWindow(), text, "VYR", MB_OK | MB_ICONERROR);
    return 1;
}

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
