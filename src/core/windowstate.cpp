// The window's record and the pictures in it.
#include "core/windowstate.h"

#include <cmath>

#include "core/appdata.h"

windowstate WindowState = INITIAL_WINDOW_STATE;

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
