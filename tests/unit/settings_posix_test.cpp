// The settings reader on a stream whose reads fail (a POSIX cookie stream).
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "menu/mainmenu.h"
#include "menu/settings.h"

namespace {

// A stream that delivers some text, then fails on every read.
struct failing {
    const char* text;
    size_t offset;
    int reads;
};

ssize_t failingRead(void* cookie, char* buffer, size_t size)
{
    auto* f = static_cast<failing*>(cookie);
    f->reads++;
    size_t left = strlen(f->text) - f->offset;
    if (left == 0) {
        errno = EIO;
        return -1;
    }
    size_t n = left < size ? left : size;
    memcpy(buffer, f->text + f->offset, n);
    f->offset += n;
    return (ssize_t)n;
}

TEST(SettingsPosix, ReadErrorEndsTheReading)
{
    resetMainMenu();
    failing state = {"[DISPLAY]\nRounded points=0\nBlend color method :=", 0, 0};
    cookie_io_functions_t io = {failingRead, nullptr, nullptr, nullptr};
    FILE* f = fopencookie(&state, "r", io);
    ASSERT_NE(f, nullptr);
    setvbuf(f, nullptr, _IONBF, 0);
    menuLoad(&MainMenu, f);
    fclose(f);
    EXPECT_EQ(CheckBoxRoundedPoints_DATA.value, 0);  // lines before the error stay
    EXPECT_EQ(ListBoxBlendMethod_DATA.selected, 0);
    EXPECT_LT(state.reads, 200);  // one failing read ends it: no retry loop
    resetMainMenu();
}

}  // namespace
