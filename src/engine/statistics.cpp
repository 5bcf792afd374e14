// The eleven lines of the statistics page, formatted while the menu is shown.
#include "engine/statistics.h"

#include <cstdio>

#include "engine/clock.h"
#include "core/appdata.h"
#include "menu/menu.h"

void evolveStatistics()
{
    applicationdata& s = ApplicationData;
    if (!s.currentMenu || !s.currentMenu->visible) return;

    unsigned int seconds = (unsigned int)(runTime() / 1000);
    snprintf(s.frameText, sizeof s.frameText, "Frame : 0x%X", (unsigned int)s.frameCount);
    snprintf(s.timeText, sizeof s.timeText, "Time : %.2u:%.2u:%.2u", seconds / 3600u, seconds / 60u % 60u,
             seconds % 60u);
    snprintf(s.fpsText, sizeof s.fpsText, "FPS : %.0f", (double)s.measuredFPS);
    snprintf(s.pointCountText, sizeof s.pointCountText, "Points count : %d", s.pointCount);
    snprintf(s.densityText, sizeof s.densityText, "Surface : %.0f%%", (double)(s.surface * 100.0f));
    snprintf(s.pointSizeText, sizeof s.pointSizeText, "Point size : %.2f", (double)s.pointSize);
    snprintf(s.alphaText, sizeof s.alphaText, "Alpha : %.1f%%", (double)(s.alpha * 100.0f));
    snprintf(s.cycleText, sizeof s.cycleText, "Cycle : %.0f%%", (double)(100.0f * s.cyclePhase));
    snprintf(s.attractor1Text, sizeof s.attractor1Text, "Attractor #1 : %d/%d", s.attractor1.count,
             s.attractor1.degree);
    snprintf(s.attractor2Text, sizeof s.attractor2Text, "Attractor #2 : %d/%d", s.attractor2.count,
             s.attractor2.degree);
}
