// The system sleep and file sync on POSIX systems.
#include "shell/platform.h"

#include <time.h>
#include <unistd.h>

void systemSleep(int ms)
{
    if (ms <= 0) return;
    timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0) {}  // resume after a signal
}

int systemSyncFile(int fd) { return fsync(fd); }
