// The system clock, sleep and file sync on Windows: the tick count, the Win32 Sleep itself, and the
// runtime's _commit (FlushFileBuffers).
#include "core/platform.h"

#include <io.h>
#include <windows.h>

// Milliseconds since the first reading; wraps like a signed 32-bit count.
int systemElapsedTime()
{
    static ULONGLONG start = GetTickCount64();
    return (int)(unsigned int)(GetTickCount64() - start);
}

void systemSleep(int ms)
{
    if (ms <= 0) return;
    ::Sleep((DWORD)ms);  // the DWORD overload: Windows' own
}

int systemSyncFile(int fd) { return _commit(fd); }
