// The system clock, sleep and file sync on Windows: the tick count, the Win32 Sleep itself, and the
// runtime's _commit (FlushFileBuffers); the start-up seed from the performance counter.
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

unsigned int systemSeed()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    unsigned long long x = (unsigned long long)counter.QuadPart ^ ((unsigned long long)time.dwHighDateTime << 32 | time.dwLowDateTime);
    x ^= (unsigned long long)GetCurrentProcessId() << 32 | GetCurrentProcessId();
    x *= 0x9e3779b97f4a7c15ull;  // spreads the low-order change over the high bits
    return (unsigned int)(x >> 32 ^ x);
}
