// The system clock, sleep and file sync on POSIX systems.
#include "core/platform.h"

#include <time.h>
#include <unistd.h>

// Monotonic milliseconds since the first reading; wraps like a signed 32-bit count.
int systemElapsedTime()
{
    static timespec start = {-1, 0};
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (start.tv_sec < 0) start = now;
    long long ms = (long long)(now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
    return (int)(unsigned int)ms;
}

void systemSleep(int ms)
{
    if (ms <= 0) return;
    timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0) {}  // resume after a signal
}

int systemSyncFile(int fd) { return fsync(fd); }
