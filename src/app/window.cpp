// What every window back end does alike.
#include "app/window.h"

#include <cstdio>

#include "app/mainmenu.h"
#include "core/platform.h"
#include "core/appdata.h"
#include "core/run.h"
#include "core/windowstate.h"
#include "render/frame.h"

void cancelMultiSample()
{
    // A host's log hears nothing of it: the picture still shows.
    if (!Run.hosted) puts("Multisampling is not available. It has been canceled.");
    ApplicationData.multiSample = 0;
    CheckBoxMultiSample_DATA.value = 0;
}

void windowCreated(int windowId, int gameMode)
{
    ApplicationData.windowId = windowId;
    WindowState.activeGameMode = gameMode;
    ApplicationData.activeDoubleBuffered = ApplicationData.doubleBuffered;
    ApplicationData.activeMultiSample = ApplicationData.multiSample;
    ApplicationData.activeFullScreen = ApplicationData.fullScreen;
    ApplicationData.fullScreenParamChanged = 0;
    frameContextChanged();
    giveWindowToOwner();
}

void useHostedServices()
{
    Platform.elapsedTime = SYSTEM_PLATFORM.elapsedTime;
    Platform.modifiers = SYSTEM_PLATFORM.modifiers;
    Platform.bitmapCharacter = SYSTEM_PLATFORM.bitmapCharacter;
    Platform.bitmapWidth = SYSTEM_PLATFORM.bitmapWidth;
    Platform.strokeCharacter = SYSTEM_PLATFORM.strokeCharacter;
    Platform.strokeWidth = SYSTEM_PLATFORM.strokeWidth;
    Platform.displayModePossible = SYSTEM_PLATFORM.displayModePossible;
}
