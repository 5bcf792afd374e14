// The second thread of the frame composed in memory, on POSIX threads and
// semaphores: one to hand the job over, one to report it done.
#include "render/bandthread.h"

#include <semaphore.h>

#include "core/process.h"

static void (*BandJob)() = nullptr;
static sem_t BandGo, BandDone;
static int BandRunning = 0;

static void* bandLoop(void*)
{
    for (;;) {
        while (sem_wait(&BandGo) != 0) {}  // interrupted by a signal: wait again
        BandJob();
        sem_post(&BandDone);
    }
    return nullptr;
}

int startBandThread(void (*job)())
{
    if (BandRunning) return 1;
    BandJob = job;
    if (sem_init(&BandGo, 0, 0) != 0 || sem_init(&BandDone, 0, 0) != 0) return 0;
    if (!startThreadWithoutSignals(bandLoop, nullptr)) return 0;
    BandRunning = 1;
    return 1;
}

void runBandThread() { sem_post(&BandGo); }

void waitBandThread()
{
    while (sem_wait(&BandDone) != 0) {}
}
