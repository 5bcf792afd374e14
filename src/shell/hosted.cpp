// The host window of a hosted run, from the arguments and XSCREENSAVER_WINDOW.
//
// Index
//   - parseWindowId
//   - hostWindowFromArguments
#include "shell/hosted.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

constexpr unsigned long LARGEST_WINDOW_ID = 0xFFFFFFFFul;  // X resource ids are 32-bit

// ---- parseWindowId -------------------------------------------------------------
int parseWindowId(const char* text, unsigned long* window)
{
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    // strtoul would also take blanks, signs and a bare "0x".
    const char* digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
    if (text[0] == '\0' || strspn(text, digits) != strlen(text)) return 0;
    errno = 0;
    unsigned long value = strtoul(text, nullptr, base);
    if (errno != 0 || value == 0 || value > LARGEST_WINDOW_ID) return 0;
    *window = value;
    return 1;
}

// ---- hostWindowFromArguments -----------------------------------------------------
static int isOption(const char* argument, const char* name)
{
    if (argument[0] != '-') return 0;
    if (argument[1] == '-') argument++;  // one dash or two
    return strcmp(argument + 1, name) == 0;
}

int hostWindowFromArguments(int argc, char** argv, const char* environmentWindow, unsigned long* window)
{
    int result = HOST_WINDOW_NONE;
    for (int i = 1; i < argc; i++) {
        if (isOption(argv[i], "window")) {
            result = HOST_WINDOW_NONE;
        } else if (isOption(argv[i], "window-id")) {
            const char* id = i + 1 < argc ? argv[++i] : "";
            if (!parseWindowId(id, window)) {
                printf("Invalid host window id (%s).\n", id);
                return HOST_WINDOW_INVALID;
            }
            result = HOST_WINDOW_GIVEN;
        } else if (isOption(argv[i], "root")) {
            const char* id = environmentWindow;
            *window = 0;  // the root window
            if (id && id[0] && !parseWindowId(id, window)) {
                printf("Invalid host window id (XSCREENSAVER_WINDOW=%s).\n", id);
                return HOST_WINDOW_INVALID;
            }
            result = HOST_WINDOW_GIVEN;
        }
    }
    return result;
}
