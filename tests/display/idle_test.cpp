// The idle step: one animation step, a redisplay, and the optional sleep.
#include <gtest/gtest.h>

#include <vector>

#include "engine/step.h"
#include "glut_test.h"
#include "app/mainmenu.h"
#include "render/frame.h"
#include "app/window.h"
#include "core/platform.h"
#include "app/startup.h"
#include "core/appdata.h"

namespace {

std::vector<int> Sleeps;  // milliseconds asked for, in order
void recordSleep(int ms) { Sleeps.push_back(ms); }

struct Idle : testing::Test {
    void SetUp() override
    {
        startAnimationRun();
        createWindow();
        Sleeps.clear();
        Platform.sleep = recordSleep;
    }
    void TearDown() override
    {
        useGlutPlatform();
        destroyWindow();
    }
};

TEST_F(Idle, StepsTheAnimationWithoutSleepingByDefault)
{
    idleFunc();
    displayFunc();
    idleFunc();
    EXPECT_EQ(ApplicationData.frameCount, 2);
    EXPECT_EQ(ApplicationData.pointCount, 600);
    EXPECT_TRUE(Sleeps.empty());
}

TEST_F(Idle, LimitCPUUsageSleeps12msPerStep)
{
    ApplicationData.limitCPUUsage = 1;
    idleFunc();
    displayFunc();
    idleFunc();
    EXPECT_EQ(Sleeps, (std::vector<int>{12, 12}));
}

// Only drawn frames count: no step follows one whose frame was not drawn,
// and a hidden window steps nothing until it shows again.
TEST_F(Idle, StepsOnlyAfterTheLastFrameWasDrawnAndWhileShown)
{
    idleFunc();
    idleFunc();
    EXPECT_EQ(ApplicationData.frameCount, 1);
    displayFunc();
    windowShown(0);
    idleFunc();
    EXPECT_EQ(ApplicationData.frameCount, 1);
    windowShown(1);
    idleFunc();
    EXPECT_EQ(ApplicationData.frameCount, 2);
    // A frame the window system dropped while hidden is not waited for.
    windowShown(0);
    windowShown(1);
    idleFunc();
    EXPECT_EQ(ApplicationData.frameCount, 3);
}

}  // namespace
