// Start-up's settings pass on POSIX systems: pipes and devices.
#include <gtest/gtest.h>

#include <cstdlib>

#include <unistd.h>

#include "menu/mainmenu.h"
#include "shell/startup.h"
#include "shell/state.h"
#include "unit/testfiles.h"

// readIniFile with a pipe or a device in the file's place: the message
// without waiting, and the callback pass.
TEST(ReadIniFilePosix, PipesAndDevicesAreReportedWithoutWaiting)
{
    scopedTempFolder folder("vyr-startup");
    ASSERT_TRUE(folder.ok());
    // A pipe nobody writes (opening it would wait for good), a device that never ends.
    for (const char* make : {"mkfifo VYR.ini", "ln -s /dev/zero VYR.ini"}) {
        resetMainMenu();
        ApplicationData = INITIAL_APPLICATION_DATA;
        ApplicationData.currentMenu = &MainMenu;
        ASSERT_EQ(system(make), 0);
        alarm(20);
        testing::internal::CaptureStdout();
        readIniFile();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot read file VYR.ini\n") << make;
        alarm(0);
        EXPECT_EQ(ApplicationData.period, 5000);
        EXPECT_EQ(ApplicationData.maxDegree, 6);
        ASSERT_EQ(system("rm -rf VYR.ini"), 0);
    }
    resetMainMenu();
    ApplicationData = INITIAL_APPLICATION_DATA;
}
