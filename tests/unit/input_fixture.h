// The fixture of the input and command tests: a fresh menu and state, and a
// fresh temporary folder as the current folder, where VYR.ini lives.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/mainmenu.h"
#include "core/appdata.h"
#include "unit/testfiles.h"

// The file's text as a text-mode stream reads it: on Windows its CR LF line
// ends come back as '\n'.
inline std::string readFile(const char* path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const char* path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Each case runs in a fresh temporary folder, where VYR.ini lives.
class Input : public ::testing::Test {
protected:
    std::unique_ptr<scopedTempFolder> folder;
    void SetUp() override
    {
        resetMainMenu();
        ApplicationData = INITIAL_APPLICATION_DATA;
        ApplicationData.currentMenu = &MainMenu;
        ApplicationData.runMode = MODE_CONFIGURE;
        ApplicationData.width = 640;
        ApplicationData.height = 480;
        folder = std::make_unique<scopedTempFolder>("vyr-input");
        ASSERT_TRUE(folder->ok());
    }
    void TearDown() override
    {
        folder.reset();
        resetMainMenu();
        ApplicationData = INITIAL_APPLICATION_DATA;
    }
};
