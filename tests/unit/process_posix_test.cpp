// The process set-up: closed standard streams, writes that fail instead of
// killing, and terminating signals with a temporary file pending. Every case
// runs in a forked child, since it changes the process's descriptors and signals.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/process.h"
#include "unit/child.h"

namespace {

bool isNullDevice(int fd)
{
    struct stat a, b;
    return fstat(fd, &a) == 0 && stat("/dev/null", &b) == 0 && S_ISCHR(a.st_mode) && a.st_rdev == b.st_rdev;
}

TEST(Process, ClosedStandardStreamsAreOpenedOnTheNullDevice)
{
    for (int closed : {0, 1, 2, 4, 7}) {  // bit n set: descriptor n starts closed
        int status = inChild([closed] {
            int fds[2];
            if (pipe(fds) != 0 || dup2(fds[1], 1) != 1) return 1;  // an open output is a pipe
            for (int fd = 0; fd <= 2; fd++) {
                if (closed >> fd & 1) close(fd);
            }
            openClosedStandardStreams();
            for (int fd = 0; fd <= 2; fd++) {
                if ((closed >> fd & 1) && !isNullDevice(fd)) return 10 + fd;
            }
            if (!(closed & 2) && isNullDevice(1)) return 20;  // an open stream stays as it was
            return open("/dev/null", O_RDONLY) > 2 ? 0 : 30;  // new files get numbers above them
        });
        EXPECT_TRUE(exitedWith(status, 0)) << closed << " " << status;
    }
}

// A terminating signal waits for the release, removes the file still
// registered, and ends the process by the signal or with the status set.
TEST(Process, TerminatingSignalsRemoveThePendingFile)
{
    std::string path = "/tmp/vyr-pending-" + std::to_string(getpid());
    for (int exitStatus : {-1, 0, 3}) {
        for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
            for (bool registered : {true, false}) {
                int status = inChild([&] {
                    for (int s : {SIGTERM, SIGINT, SIGHUP}) signal(s, SIG_DFL);
                    installSignalHandlers();
                    setSignalExitStatus(exitStatus);
                    close(open(path.c_str(), O_CREAT | O_WRONLY, 0600));
                    holdTerminatingSignals();
                    setPendingTemporaryFile(path.c_str());
                    if (!registered) setPendingTemporaryFile(nullptr);
                    raise(sig);
                    if (access(path.c_str(), F_OK) != 0) return 40;
                    releaseTerminatingSignals();
                    return 50;  // not reached
                });
                EXPECT_TRUE(exitStatus < 0 ? WIFSIGNALED(status) && WTERMSIG(status) == sig
                                           : exitedWith(status, exitStatus))
                    << sig << " " << exitStatus << " " << status;
                EXPECT_EQ(access(path.c_str(), F_OK) == 0, !registered) << sig << " " << exitStatus;
                unlink(path.c_str());
            }
        }
    }
}

// What does not end the program: a write to a reader that has gone or past
// the file-size limit fails instead; a signal ignored from the start stays
// ignored (nohup); one the caller blocked stays blocked past a hold.
TEST(Process, FailingWritesAndIgnoredOrBlockedSignalsLeaveTheProgramRunning)
{
    int status = inChild([] {
        signal(SIGHUP, SIG_IGN);
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGINT);
        sigprocmask(SIG_BLOCK, &set, nullptr);
        installSignalHandlers();
        raise(SIGHUP);
        holdTerminatingSignals();
        releaseTerminatingSignals();
        sigprocmask(SIG_BLOCK, nullptr, &set);
        if (!sigismember(&set, SIGINT) || sigismember(&set, SIGTERM)) return 1;
        int fds[2];
        if (pipe(fds) != 0 || close(fds[0]) != 0 || write(fds[1], "x", 1) != -1 || errno != EPIPE) return 2;
        rlimit small = {10, 10};
        FILE* f = tmpfile();
        if (!f || setrlimit(RLIMIT_FSIZE, &small) != 0) return 3;
        char text[100] = {};
        return write(fileno(f), text, sizeof text) == 10 && write(fileno(f), text, 1) == -1 ? 0 : 4;
    });
    EXPECT_TRUE(exitedWith(status, 0)) << status;
}

}  // namespace
