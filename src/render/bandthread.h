// A second thread for the frame composed in memory: it runs one job per
// frame while the caller runs its own share.
#pragma once

// Starts the thread once; returns 1 when it runs, 0 when none could be made
// (the caller then does all the work itself).
int startBandThread(void (*job)());
// Hands the job to the thread.
void runBandThread();
// Waits until the job handed over has finished.
void waitBandThread();
