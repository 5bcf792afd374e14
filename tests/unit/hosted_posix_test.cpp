// The host window of a hosted run, from the arguments screen-saver hosts
// pass and from XSCREENSAVER_WINDOW.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cmdline.h"
#include "app/startup.h"
#include "unit/cmdline_seam.h"
#include "core/appdata.h"

namespace {

struct hostcase {
    std::vector<const char*> args;  // after the program name
    const char* environment;        // XSCREENSAVER_WINDOW, nullptr: unset
    int result;                     // HOST_WINDOW_*
    unsigned long window;           // expected when given
    const char* line;               // printed line, "" for none
};

const hostcase HOST_CASES[] = {
    {{}, nullptr, HOST_WINDOW_NONE, 0, ""},
    {{"/s", "-windowid", "0x40"}, nullptr, HOST_WINDOW_NONE, 0, ""},
    {{"--window-id", "0x400EE5"}, nullptr, HOST_WINDOW_GIVEN, 0x400EE5, ""},
    {{"-window-id", "4194305"}, nullptr, HOST_WINDOW_GIVEN, 4194305, ""},
    {{"--root"}, "0x600008", HOST_WINDOW_GIVEN, 0x600008, ""},
    {{"-root"}, "4194305", HOST_WINDOW_GIVEN, 4194305, ""},
    {{"--root"}, nullptr, HOST_WINDOW_GIVEN, 0, ""},  // the root window
    {{"--root"}, "", HOST_WINDOW_GIVEN, 0, ""},
    // xscreensaver's settings app previews with both: the later one decides.
    {{"--root", "--window-id", "0x400ee5"}, "0x600008", HOST_WINDOW_GIVEN, 0x400EE5, ""},
    {{"--root", "-window"}, "0x600008", HOST_WINDOW_NONE, 0, ""},
    {{"--window", "--root"}, nullptr, HOST_WINDOW_GIVEN, 0, ""},
    {{"---root"}, nullptr, HOST_WINDOW_NONE, 0, ""},
    {{"--window-id"}, nullptr, HOST_WINDOW_INVALID, 0, "Invalid host window id ().\n"},
    {{"--window-id", "0x"}, nullptr, HOST_WINDOW_INVALID, 0, "Invalid host window id (0x).\n"},
    {{"--window-id", "12ab"}, nullptr, HOST_WINDOW_INVALID, 0, "Invalid host window id (12ab).\n"},
    {{"--window-id", "-5"}, nullptr, HOST_WINDOW_INVALID, 0, "Invalid host window id (-5).\n"},
    {{"--window-id", " 5"}, nullptr, HOST_WINDOW_INVALID, 0, "Invalid host window id ( 5).\n"},
    {{"--window-id", "0"}, nullptr, HOST_WINDOW_INVALID, 0, "Invalid host window id (0).\n"},
    {{"--window-id", "0x100000000"}, nullptr, HOST_WINDOW_INVALID, 0, "Invalid host window id (0x100000000).\n"},
    {{"--root"}, "window", HOST_WINDOW_INVALID, 0, "Invalid host window id (XSCREENSAVER_WINDOW=window).\n"},
};

TEST(HostWindow, FromArgumentsAndEnvironment)
{
    for (const hostcase& c : HOST_CASES) {
        std::vector<char*> argv = {(char*)"vyr"};
        for (const char* a : c.args) argv.push_back((char*)a);
        unsigned long window = 12345;
        testing::internal::CaptureStdout();
        int result = hostWindowFromArguments((int)argv.size(), argv.data(), c.environment, &window);
        std::string out = testing::internal::GetCapturedStdout();
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.back());
        EXPECT_EQ(result, c.result);
        if (c.result == HOST_WINDOW_GIVEN) {
            EXPECT_EQ(window, c.window);
        }
        EXPECT_EQ(out, c.line);
        // None of them is a run-mode switch: a hosted run is a screen-saver run.
        EXPECT_EQ(screenSaverMode((int)argv.size(), argv.data()), MODE_SCREENSAVER);
    }
}

}  // namespace
