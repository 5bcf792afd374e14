// The process around the program on POSIX systems.
//
// Index
//   - Standard streams: openClosedStandardStreams, bufferConsoleLines
//   - Failures: clearSystemError, reportFailure
//   - Pending temporary file: setPendingTemporaryFile
//   - Signals: installSignalHandlers, setSignalExitStatus,
//     holdTerminatingSignals, releaseTerminatingSignals
//   - Threads: startThreadWithoutSignals
#include "core/process.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include "core/settingsfile.h"

constexpr int PENDING_PATH_SIZE = 4096;  // bytes of the registered path, NUL included
constexpr int TERMINATING_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

// ---- Standard streams ----------------------------------------------------------
void openClosedStandardStreams()
{
    for (int fd = 0; fd <= 2; fd++) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // open takes the lowest free number, which is this one.
        int null = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {  // cannot happen; keep the numbers straight anyway
            dup2(null, fd);
            close(null);
        }
    }
}

void bufferConsoleLines() { setvbuf(stdout, nullptr, _IOLBF, 0); }

// ---- Failures ----------------------------------------------------------------
void clearSystemError() { errno = 0; }

// The user's own file is named in full, with the reason.
int reportFailure(const char* line, const char* path)
{
    int err = errno;
    puts(line);
    if (strcmp(path, SETTINGS_FILE_NAME) != 0) printf("%s: %s\n", path, settingsFailureReason(err));
    return 0;
}

// ---- Pending temporary file ----------------------------------------------------
// Read by the signal handler: the path is complete whenever pendingSet is 1.
static char pendingPath[PENDING_PATH_SIZE];
static volatile sig_atomic_t pendingSet = 0;
static volatile sig_atomic_t signalExitStatus = -1;  // below 0: die by the signal

int setPendingTemporaryFile(const char* path)
{
    pendingSet = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    if (!path) return 1;
    size_t length = strlen(path);
    if (length >= sizeof pendingPath) return 0;
    memcpy(pendingPath, path, length + 1);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    pendingSet = 1;
    return 1;
}

// ---- Signals ------------------------------------------------------------------------
// Only async-signal-safe calls: unlink, _exit, sigaction, sigprocmask, raise.
static void terminateSignalFunc(int sig)
{
    if (pendingSet) unlink(pendingPath);
    if (signalExitStatus >= 0) _exit(signalExitStatus);
    struct sigaction standard = {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    sigaction(sig, &standard, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(sig);
    _exit(128 + sig);  // the signal was held elsewhere: end the usual way anyway
}

static sigset_t terminatingSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int sig : TERMINATING_SIGNALS) sigaddset(&set, sig);
    return set;
}

void installSignalHandlers()
{
    signal(SIGPIPE, SIG_IGN);  // a write to a reader that has gone fails with EPIPE instead
    signal(SIGXFSZ, SIG_IGN);  // a write past the file-size limit fails with EFBIG instead

    struct sigaction action = {};
    action.sa_handler = terminateSignalFunc;
    action.sa_mask = terminatingSet();  // one handler at a time
    for (int sig : TERMINATING_SIGNALS) {
        // A signal ignored from the start stays ignored, as nohup and
        // background jobs expect.
        struct sigaction old;
        if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        sigaction(sig, &action, nullptr);
    }
}

void setSignalExitStatus(int status) { signalExitStatus = status < 0 ? -1 : status; }

static sigset_t maskBeforeHold;  // restored by the release

void holdTerminatingSignals()
{
    sigset_t set = terminatingSet();
    sigprocmask(SIG_BLOCK, &set, &maskBeforeHold);
}

// Restores the mask as it was: a signal the caller had blocked stays blocked.
void releaseTerminatingSignals() { sigprocmask(SIG_SETMASK, &maskBeforeHold, nullptr); }

// ---- Threads --------------------------------------------------------------------------
// A new thread inherits the mask of the thread that creates it.
int startThreadWithoutSignals(void* (*body)(void*), void* argument)
{
    sigset_t set = terminatingSet(), before;
    pthread_sigmask(SIG_BLOCK, &set, &before);
    pthread_t thread;
    int started = pthread_create(&thread, nullptr, body, argument) == 0;
    if (started) pthread_detach(thread);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    return started;
}
