// What every window back end does alike.
#include "app/window.h"

#include <cstdio>

#include "app/mainmenu.h"
#include "core/state.h"
#include "render/frame.h"

void cancelMultiSample()
{
    // A host's log hears nothing of it: the picture still shows.
    if (!ApplicationData.hosted) puts("Multisampling is not available. It has been canceled.");
    ApplicationData.multiSample = 0;
    CheckBoxMultiSample_DATA.value = 0;
}

void windowCreated(int windowId, int gameMode)
{
    ApplicationData.windowId = windowId;
    ApplicationData.activeGameMode = gameMode;
    ApplicationData.activeDoubleBuffered = ApplicationData.doubleBuffered;
    ApplicationData.activeMultiSample = ApplicationData.multiSample;
    ApplicationData.activeFullScreen = ApplicationData.fullScreen;
    ApplicationData.fullScreenParamChanged = 0;
    frameContextChanged();
    giveWindowToOwner();
}
