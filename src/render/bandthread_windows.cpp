// The second thread of the frame composed in memory, on Windows threads and
// semaphores: one to hand the job over, one to report it done.
#include "render/bandthread.h"

#include <windows.h>

static void (*BandJob)() = nullptr;
static HANDLE BandGo = nullptr, BandDone = nullptr;
static int BandRunning = 0;

static DWORD WINAPI bandLoop(LPVOID)
{
    for (;;) {
        WaitForSingleObject(BandGo, INFINITE);
        BandJob();
        ReleaseSemaphore(BandDone, 1, nullptr);
    }
    return 0;
}

int startBandThread(void (*job)())
{
    if (BandRunning) return 1;
    BandJob = job;
    BandGo = CreateSemaphoreA(nullptr, 0, 1, nullptr);
    BandDone = CreateSemaphoreA(nullptr, 0, 1, nullptr);
    if (!BandGo || !BandDone) return 0;
    HANDLE thread = CreateThread(nullptr, 0, bandLoop, nullptr, 0, nullptr);
    if (!thread) return 0;
    CloseHandle(thread);
    BandRunning = 1;
    return 1;
}

void runBandThread() { ReleaseSemaphore(BandGo, 1, nullptr); }

void waitBandThread() { WaitForSingleObject(BandDone, INFINITE); }
