// Stand-in for the Screen Saver Settings panel in the Windows tests: a
// top-level window with a child where the preview goes, starting vyr.scr as
// the panel does and reporting, one "name value" line each, what it sees.
//
//   vyr-test-panel preview SCR HOLD_MS
//       Runs "SCR /p CHILD": "child HWND", then "descendant MS" (or "none")
//       once VYR's window is inside the child (5 s at most), holds HOLD_MS
//       for the screen to be looked at, destroys its window and reports
//       "exit MS STATUS" (or "exit none") within 5 s.
//   vyr-test-panel configure SCR KEY
//       Runs "SCR /c:PANEL": "owner HWND", "window MS" (or "none"), "owned
//       yes|no", "disabled-while-open yes|no" (at once and 1 s later; the owner 1 s after the window shows), then
//       types KEY; for a key other than q (s, a save that fails) it reports
//       "message-box TEXT" (or "none") and "open-behind-box yes|no", closes
//       the box and types q; then "exit MS STATUS" and "enabled-after yes|no".
//   vyr-test-panel listen ACTION MS
//       A top-level window, as every program has, that hears the system's
//       setting changes: "listening" once it is there, then "setting-change
//       N" for each WM_SETTINGCHANGE (N: its SPI_ code); it ends once it has
//       heard ACTION, or after MS.
//
// Index
//   - Output and timing
//   - Windows and the process
//   - preview, configure, listen
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

constexpr DWORD EXIT_WAIT_MS = 5000;
constexpr DWORD WINDOW_WAIT_MS = 40000;  // the configure window: wine starts slowly
constexpr DWORD DESCENDANT_WAIT_MS = 5000;

// ---- Output and timing ----
static void say(const char* name, const char* format, ...)
{
    va_list a;
    va_start(a, format);
    printf("%s ", name);
    vprintf(format, a);
    printf("\n");
    fflush(stdout);
    va_end(a);
}

// Runs the window messages for up to ms, or until done() says so; returns
// the time taken.
static DWORD pump(DWORD ms, bool (*done)())
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        if (done && done()) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return GetTickCount() - start;
}

// ---- Windows and the process ----
static HWND Panel, Child, Found;
static PROCESS_INFORMATION Vyr;

static void makeWindows()
{
    WNDCLASSA c = {};
    c.lpfnWndProc = DefWindowProcA;
    c.hInstance = GetModuleHandleA(nullptr);
    c.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    c.lpszClassName = "VyrTestPanel";
    RegisterClassA(&c);
    Panel = CreateWindowA("VyrTestPanel", "Panel stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                          nullptr, c.hInstance, nullptr);
    // The little monitor: most of the panel, so that its picture is most of the panel's.
    Child = CreateWindowA("VyrTestPanel", "", WS_CHILD | WS_VISIBLE, 20, 20, 320, 200, Panel, nullptr, c.hInstance,
                          nullptr);
    pump(300, nullptr);
}

static void start(const char* scr, const char* switches)
{
    char line[1024];
    snprintf(line, sizeof line, "\"%s\" %s", scr, switches);
    // As the panel starts it: no console, no standard handles.
    STARTUPINFOA s = {};
    s.cb = sizeof s;
    s.dwFlags = STARTF_USESTDHANDLES;
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr, &s, &Vyr)) {
        say("start", "failed %lu", GetLastError());
        exit(1);
    }
}

// Waits for the end of vyr.scr, up to EXIT_WAIT_MS from now, and says when.
// The messages keep coming meanwhile: vyr.scr re-enables this panel's window
// at its exit, which waits for the panel to take the message.
static void reportExit()
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < EXIT_WAIT_MS) {
        DWORD left = EXIT_WAIT_MS - (GetTickCount() - start);
        if (MsgWaitForMultipleObjects(1, &Vyr.hProcess, FALSE, left, QS_ALLINPUT) == WAIT_OBJECT_0) {
            DWORD status = 0;
            GetExitCodeProcess(Vyr.hProcess, &status);
            say("exit", "%lu %lu", GetTickCount() - start, status);
            return;
        }
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
    say("exit", "none");
    TerminateProcess(Vyr.hProcess, 9);
}

// ---- preview, configure ----
static bool descendantFound() { return (Found = FindWindowExA(Child, nullptr, nullptr, nullptr)) != nullptr; }

static int preview(const char* scr, DWORD hold)
{
    makeWindows();
    say("child", "%lu", (unsigned long)(uintptr_t)Child);
    char switches[64];
    snprintf(switches, sizeof switches, "/p %lu", (unsigned long)(uintptr_t)Child);
    start(scr, switches);
    DWORD ms = pump(DESCENDANT_WAIT_MS, descendantFound);
    if (Found) {
        say("descendant", "%lu", ms);
    } else {
        say("descendant", "none");
    }
    pump(hold, nullptr);
    DestroyWindow(Panel);
    reportExit();
    return 0;
}

static BOOL CALLBACK findVyrWindow(HWND w, LPARAM)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != Vyr.dwProcessId || !IsWindowVisible(w)) return TRUE;
    Found = w;
    return FALSE;
}

static bool vyrWindowFound()
{
    EnumWindows(findVyrWindow, 0);
    return Found != nullptr;
}

// A message box of vyr.scr: a dialog of its process.
static HWND Box;
static char BoxText[512];

static BOOL CALLBACK findBox(HWND w, LPARAM)
{
    DWORD pid = 0;
    char kind[16];
    GetWindowThreadProcessId(w, &pid);
    if (pid == Vyr.dwProcessId && GetClassNameA(w, kind, sizeof kind) && strcmp(kind, "#32770") == 0) Box = w;
    return Box == nullptr;
}

static BOOL CALLBACK readBoxText(HWND w, LPARAM)
{
    char kind[16], text[256];
    if (GetClassNameA(w, kind, sizeof kind) && _stricmp(kind, "Static") == 0 && GetWindowTextA(w, text, sizeof text)) {
        for (char* c = text; *c; c++) {
            if (*c == '\r' || *c == '\n') *c = '|';  // one line
        }
        strncat(BoxText, text, sizeof BoxText - strlen(BoxText) - 1);
    }
    return TRUE;
}

static bool boxFound()
{
    EnumWindows(findBox, 0);
    return Box != nullptr;
}

static int configure(const char* scr, char key)
{
    makeWindows();
    say("owner", "%lu", (unsigned long)(uintptr_t)Panel);
    char switches[64];
    snprintf(switches, sizeof switches, "/c:%lu", (unsigned long)(uintptr_t)Panel);
    start(scr, switches);
    DWORD ms = pump(WINDOW_WAIT_MS, vyrWindowFound);
    if (!Found) {
        say("window", "none");
        TerminateProcess(Vyr.hProcess, 9);
        return 0;
    }
    say("window", "%lu", ms);
    bool disabled = !IsWindowEnabled(Panel);
    pump(1000, nullptr);  // GLUT shows the window as it makes it: the owner follows
    say("owned", GetWindow(Found, GW_OWNER) == Panel ? "yes" : "no");
    disabled = disabled && !IsWindowEnabled(Panel);
    say("disabled-while-open", disabled ? "yes" : "no");
    PostMessageA(Found, WM_CHAR, key, 0);
    if (key != 'q') {  // a failing save: the box, then q
        pump(10000, boxFound);
        pump(500, nullptr);  // its controls come after it
        if (Box) EnumChildWindows(Box, readBoxText, 0);
        say("message-box", "%s", Box ? BoxText : "none");
        say("open-behind-box", WaitForSingleObject(Vyr.hProcess, 0) == WAIT_TIMEOUT ? "yes" : "no");
        if (Box) PostMessageA(Box, WM_COMMAND, IDOK, 0);
        pump(1000, nullptr);
        PostMessageA(Found, WM_CHAR, 'q', 0);
    }
    reportExit();
    say("enabled-after", IsWindowEnabled(Panel) ? "yes" : "no");
    return 0;
}

static UINT Awaited;
static bool Heard = false;
static bool heard() { return Heard; }

static LRESULT CALLBACK listenerProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTINGCHANGE) {
        say("setting-change", "%u", (unsigned)wParam);
        Heard = Heard || wParam == Awaited;
    }
    return DefWindowProcA(w, message, wParam, lParam);
}

static int listen(UINT action, DWORD ms)
{
    Awaited = action;
    WNDCLASSA c = {};
    c.lpfnWndProc = listenerProc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = "VyrTestListener";
    RegisterClassA(&c);
    CreateWindowA("VyrTestListener", "Setting listener", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                  c.hInstance, nullptr);
    say("listening", "");
    pump(ms, heard);
    return 0;
}

int main(int argc, char** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF, for the shell that reads them
    if (argc == 4 && strcmp(argv[1], "preview") == 0) return preview(argv[2], (DWORD)atoi(argv[3]));
    if (argc == 4 && strcmp(argv[1], "configure") == 0) return configure(argv[2], argv[3][0]);
    if (argc == 4 && strcmp(argv[1], "listen") == 0) return listen((UINT)atoi(argv[2]), (DWORD)atoi(argv[3]));
    fputs("usage: vyr-test-panel preview SCR HOLD_MS | configure SCR KEY | listen ACTION MS\n", stderr);
    return 2;
}
