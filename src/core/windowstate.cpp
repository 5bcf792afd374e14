// The window's record and the pictures in it.
#include "core/windowstate.h"

#include <cmath>

#include "core/appdata.h"

windowstate WindowState = INITIAL_WINDOW_STATE;

void addMonitor(pixelrect r, int primary)
{
    windowstate& s = WindowState;
    if (r.width <= 0 || r.height <= 0 || s.monitorCount >= MONITOR_LIMIT) return;
    for (int i = 0; i < s.monitorCount; i++) {
        pixelrect m = s.monitors[i];
        if (m.x == r.x && m.y == r.y && m.width == r.width && m.height == r.height) {  // a clone: one picture
            if (primary) {
                s.monitors[i] = s.monitors[0];
                s.monitors[0] = r;
            }
            return;
        }
    }
    if (primary) {
        for (int i = s.monitorCount; i > 0; i--) s.monitors[i] = s.monitors[i - 1];
        s.monitors[0] = r;
    } else {
        s.monitors[s.monitorCount] = r;
    }
    s.monitorCount++;
}

int pictureCount() { return WindowState.monitorCount > 0 ? WindowState.monitorCount : 1; }

pixelrect pictureRect(int i)
{
    if (WindowState.monitorCount <= 0) return {0, 0, ApplicationData.width, ApplicationData.height};
    pixelrect m = WindowState.monitors[i];
    return {m.x, ApplicationData.height - m.y - m.height, m.width, m.height};
}

long long pictureArea()
{
    long long largest = 0;
    for (int i = 0; i < pictureCount(); i++) {
        pixelrect r = pictureRect(i);
        if ((long long)r.width * r.height > largest) largest = (long long)r.width * r.height;
    }
    return largest;
}

float picturePointSize(int i)
{
    if (WindowState.monitorCount <= 0) return ApplicationData.pointSize;
    pixelrect r = pictureRect(i);
    double scale = sqrt((double)r.width * r.height / (double)pictureArea());
    return (float)(ApplicationData.pointSize * scale);
}
