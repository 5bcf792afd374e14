// The system clock, sleep, file sync and start-up seed on POSIX systems.
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

unsigned int systemSeed()
{
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    unsigned long long x = (unsigned long long)now.tv_sec * 1000000000ull + (unsigned long long)now.tv_nsec;
    x ^= (unsigned long long)getpid() << 32 | (unsigned long long)getpid();
    x *= 0x9e3779b97f4a7c15ull;  // spreads the low-order change over the high bits
    return (unsigned int)(x >> 32 ^ x);
}
