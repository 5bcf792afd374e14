// Shared set-up of the engine tests: fresh state and menu, a settable clock,
// recorded window titles, fixed point-size answers.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/numeric.h"
#include "engine/random.h"
#include "engine/clock.h"
#include "engine/step.h"
#include "engine/timing.h"
#include "app/mainmenu.h"
#include "core/platform.h"
#include "core/appdata.h"

struct fakeplatform {
    int now = 0;
    std::string title;
    int titles = 0;
    float lo = 1.0f, hi = 1.0f, granularity = 0.0f;
    bool answerRange = true, answerGranularity = true;
};
inline fakeplatform Fake;

inline int fakeTime() { return Fake.now; }
inline void fakeTitle(const char* t)
{
    Fake.title = t;
    Fake.titles++;
}
inline void fakeRange(float* lo, float* hi)
{
    if (!Fake.answerRange) return;
    *lo = Fake.lo;
    *hi = Fake.hi;
}
inline void fakeGranularity(float* g)
{
    if (Fake.answerGranularity) *g = Fake.granularity;
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ApplicationData = INITIAL_APPLICATION_DATA;
        resetMainMenu();
        ApplicationData.currentMenu = &MainMenu;
        Fake = fakeplatform();
        Platform.elapsedTime = fakeTime;
        Platform.setWindowTitle = fakeTitle;
        Platform.pointSizeRange = fakeRange;
        Platform.pointSizeGranularity = fakeGranularity;
        seedRandom(1234);
        initCos();
        RunClock = {};
    }
    void TearDown() override
    {
        Platform = SYSTEM_PLATFORM;
        ApplicationData = INITIAL_APPLICATION_DATA;
    }
};
