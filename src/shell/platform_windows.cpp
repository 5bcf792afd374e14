// The system sleep and file sync on Windows: the Win32 Sleep itself, and the
// runtime's _commit (FlushFileBuffers).
#include "shell/platform.h"

#include <io.h>
#include <windows.h>

void systemSleep(int ms)
{
    if (ms <= 0) return;
    ::Sleep((DWORD)ms);  // the DWORD overload: Windows' own
}

int systemSyncFile(int fd) { return _commit(fd); }
