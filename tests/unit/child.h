// Runs a piece of a test in a forked child: for changes to the process's
// descriptors, signals or user that must not reach the test program.
#pragma once

#include <cstdio>

#include <sys/wait.h>
#include <unistd.h>

// Runs body in a child that ends with body's result as exit status; returns the wait status.
template <typename F>
int inChild(F body)
{
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = -1;
    waitpid(pid, &status, 0);
    return status;
}

// True when the wait status is a normal exit with the given status.
inline bool exitedWith(int status, int code) { return WIFEXITED(status) && WEXITSTATUS(status) == code; }
