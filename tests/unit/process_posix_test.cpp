// The process set-up: closed standard streams, a reader that goes away, and
// terminating signals with a temporary file pending. Every case runs in a
// forked child, since it changes the process's descriptors and signals.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/process.h"
#include "unit/child.h"

namespace {

bool isNullDevice(int fd)
{
    struct stat a, b;
    return fstat(fd, &a) == 0 && stat("/dev/null", &b) == 0 && S_ISCHR(a.st_mode) && a.st_rdev == b.st_rdev;
}

TEST(Process, ClosedStandardStreamsAreOpenedOnTheNullDevice)
{
    for (int closed : {0, 1, 2, 7}) {  // 7: all three
        int status = inChild([closed] {
            for (int fd = 0; fd <= 2; fd++) {
                if (closed == fd || closed == 7) close(fd);
            }
            openClosedStandardStreams();
            for (int fd = 0; fd <= 2; fd++) {
                if ((closed == fd || closed == 7) && !isNullDevice(fd)) return 10 + fd;
            }
            int next = open("/dev/null", O_RDONLY);
            return next > 2 ? 0 : 20;  // a new file gets a number above the standard ones
        });
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << closed << " " << status;
    }
    // Open streams are left as they are.
    int status = inChild([] {
        int fds[2];
        if (pipe(fds) != 0 || dup2(fds[1], 1) != 1) return 1;
        openClosedStandardStreams();
        return isNullDevice(1) ? 2 : 0;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(Process, AWriteToAReaderThatHasGoneFailsAndTheProgramGoesOn)
{
    int status = inChild([] {
        installSignalHandlers();
        int fds[2];
        if (pipe(fds) != 0) return 1;
        close(fds[0]);
        if (dup2(fds[1], 1) != 1) return 2;
        setvbuf(stdout, nullptr, _IOLBF, 0);
        puts("dropped");
        puts("dropped as well");
        return write(fds[1], "x", 1) == -1 && errno == EPIPE ? 0 : 3;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    // Likewise a write past the file-size limit.
    status = inChild([] {
        installSignalHandlers();
        rlimit small = {10, 10};
        setrlimit(RLIMIT_FSIZE, &small);
        FILE* f = tmpfile();
        if (!f) return 1;
        char text[100] = {};
        return write(fileno(f), text, sizeof text) == 10 && write(fileno(f), text, 1) == -1 ? 0 : 2;
    });
    EXPECT_TRUE(exitedWith(status, 0)) << status;
}

// A pending temporary file and a terminating signal, conventional or with a set status.
TEST(Process, TerminatingSignalsRemoveThePendingFile)
{
    char dir[] = "/tmp/vyr-process-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string path = std::string(dir) + "/VYR.ini.tmp";
    for (int exitStatus : {-1, 0, 3}) {
        for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
            int status = inChild([&] {
                for (int s : {SIGTERM, SIGINT, SIGHUP}) signal(s, SIG_DFL);
                installSignalHandlers();
                setSignalExitStatus(exitStatus);
                close(open(path.c_str(), O_CREAT | O_WRONLY, 0600));
                holdTerminatingSignals();
                setPendingTemporaryFile(path.c_str());
                raise(sig);  // waits for the release
                if (access(path.c_str(), F_OK) != 0) return 40;
                releaseTerminatingSignals();
                return 50;  // not reached
            });
            if (exitStatus < 0) {
                EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << sig << " " << status;
            } else {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == exitStatus) << sig << " " << status;
            }
            EXPECT_NE(access(path.c_str(), F_OK), 0) << sig << " " << exitStatus;
        }
    }
    // Unregistered, the file stays.
    int status = inChild([&] {
        signal(SIGTERM, SIG_DFL);
        installSignalHandlers();
        close(open(path.c_str(), O_CREAT | O_WRONLY, 0600));
        setPendingTemporaryFile(path.c_str());
        setPendingTemporaryFile(nullptr);
        raise(SIGTERM);
        return 0;
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(access(path.c_str(), F_OK), 0);
    unlink(path.c_str());
    rmdir(dir);
}

TEST(Process, ASignalIgnoredFromTheStartStaysIgnored)
{
    int status = inChild([] {
        signal(SIGHUP, SIG_IGN);
        installSignalHandlers();
        raise(SIGHUP);
        return 0;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
