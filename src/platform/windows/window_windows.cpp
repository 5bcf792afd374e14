// The hosted back end on Windows, Win32 and WGL: the control panel's live
// preview (/p HWND) and a window handed over with --window-id. GLUT cannot
// give its window a foreign parent, so the program makes a child window of
// its own inside the given one, with a pixel format and an OpenGL context of
// its own, and runs its own small message loop around the same idle step and
// frame drawing. The child fills the host and follows its size; it is
// disabled, so it takes no input. The host belongs to another process and
// may go away at any moment: the loop also asks whether it still exists.
// Also here: the configure window owned by the window given with /c:HWND.
//
// Index
//   - hostedwindow record
//   - Window procedure
//   - Window seam: create, destroy, swap, title
//   - Main loop: messages, the host's size and visibility, the loop
//   - openHostWindow, HOSTED_PLATFORM
//   - Owner window: useOwnerWindow, giveWindowToOwner
#include "platform/window.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/platform.h"
#include "core/windowstate.h"
#include "platform/present.h"

constexpr const char* CHILD_CLASS = "VYRHostedWindow";
constexpr DWORD HIDDEN_WAIT_MS = 100;  // how long a hidden preview sleeps between looks at its host

const bool PREVIEW_DRAWS = true;

// ---- hostedwindow record ---------------------------------------------------------
struct hostedwindow {
    HWND host;       // the window handed over
    HWND child;      // the program's window inside it, null while there is none
    HDC dc;          // device context of the child (its class keeps one of its own)
    HGLRC context;   // rendering context of the child
    int preview;     // the control panel's preview: failures are silent
    int width;       // host client size in pixels
    int height;
    int shown;       // as last reported
    int redisplay;   // the step asked for a frame
    int ended;       // the host (and with it the child) is gone
};

static hostedwindow Hosted = {};

// ---- Window procedure ----------------------------------------------------------------
static LRESULT CALLBACK childProc(HWND w, UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_SIZE:
        if (Hosted.context) WindowEvents.resized(LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_PAINT:
        ValidateRect(w, nullptr);  // the next frame repaints it all
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the frame covers it all
    case WM_DESTROY:
        if (w == Hosted.child) Hosted.ended = 1;  // the host destroys its children with itself
        return 0;
    default:
        return DefWindowProcA(w, message, wp, lp);
    }
}

// ---- Window seam: create, destroy, swap, title -----------------------------------
// A pixel format with the requested buffering; multisampling would need a
// second context to ask for it, and a preview is too small to show it.
static int choosePixelFormat(HDC dc, const windowrequest* r)
{
    PIXELFORMATDESCRIPTOR p = {};
    p.nSize = sizeof p;
    p.nVersion = 1;
    p.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (r->doubleBuffered ? PFD_DOUBLEBUFFER : 0);
    p.iPixelType = PFD_TYPE_RGBA;
    p.cColorBits = 24;
    p.iLayerType = PFD_MAIN_PLANE;
    int format = ChoosePixelFormat(dc, &p);
    if (format == 0 || !SetPixelFormat(dc, format, &p)) return 0;
    return format;
}

// Ends a run whose window cannot be drawn in: a preview quietly with status
// 0 (the panel shows its own empty picture), any other with a line and 1.
static void cannotDraw()
{
    if (!Hosted.preview) puts("The host window offers no OpenGL pixel format.");
    exit(Hosted.preview ? 0 : 1);
}

static void hostedCreateWindow(const windowrequest* r)
{
    if (Hosted.child) return;
    Hosted.child = CreateWindowExA(0, CHILD_CLASS, "VYR",
                                   WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                   Hosted.width, Hosted.height, Hosted.host, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!Hosted.child) cannotDraw();  // the host went away meanwhile, or refuses children
    Hosted.dc = GetDC(Hosted.child);
    if (!choosePixelFormat(Hosted.dc, r)) cannotDraw();
    Hosted.context = wglCreateContext(Hosted.dc);
    if (!Hosted.context || !wglMakeCurrent(Hosted.dc, Hosted.context)) cannotDraw();
    Hosted.shown = 0;  // until the loop has looked

    // The host decides the size; never multisampled (see choosePixelFormat).
    windowmade made = {(int)(intptr_t)Hosted.child, 0, r->fullScreen, r->doubleBuffered, 0, 0, 0};
    WindowState.contextGeneration++;  // textures and kept frames of the old context mean nothing here
    WindowEvents.created(&made);
    WindowEvents.resized(Hosted.width, Hosted.height);
}

static void hostedDestroyWindow()
{
    if (!Hosted.child) return;
    wglMakeCurrent(nullptr, nullptr);
    if (Hosted.context) wglDeleteContext(Hosted.context);
    HWND child = Hosted.child;
    Hosted.child = nullptr;  // its destruction is ours, not the host's
    if (Hosted.dc) ReleaseDC(child, Hosted.dc);
    if (IsWindow(child)) DestroyWindow(child);
    Hosted.context = nullptr;
    Hosted.dc = nullptr;
}

static void hostedSwapBuffers() { SwapBuffers(Hosted.dc); }
static void hostedPostRedisplay() { Hosted.redisplay = 1; }
static void hostedSetWindowTitle(const char* title) { SetWindowTextA(Hosted.child, title); }

// ---- Main loop: messages, the host's size and visibility, the loop ------------------
static void handlePendingMessages()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) Hosted.ended = 1;
        DispatchMessageA(&m);
    }
}

// The host lives in another process: its destruction may reach the child
// late or not at all, its size changes without a message to the child.
static void followHost()
{
    if (!IsWindow(Hosted.host) || !IsWindow(Hosted.child)) {
        Hosted.ended = 1;
        return;
    }
    RECT r;
    if (GetClientRect(Hosted.host, &r) && (r.right != Hosted.width || r.bottom != Hosted.height)) {
        Hosted.width = r.right;
        Hosted.height = r.bottom;
        MoveWindow(Hosted.child, 0, 0, Hosted.width, Hosted.height, FALSE);  // WM_SIZE reports it
    }
    int shown = IsWindowVisible(Hosted.child) && !IsIconic(GetAncestor(Hosted.host, GA_ROOT)) && Hosted.width > 0 &&
                Hosted.height > 0;
    if (shown == Hosted.shown) return;
    Hosted.shown = shown;
    WindowEvents.shown(shown);
}

static void hostedMainLoop()
{
    while (true) {
        handlePendingMessages();
        followHost();
        if (Hosted.ended) break;
        if (!Hosted.shown) {  // nothing to draw for: wake for a message or the next look
            MsgWaitForMultipleObjects(0, nullptr, FALSE, HIDDEN_WAIT_MS, QS_ALLINPUT);
            continue;
        }
        WindowEvents.idle();
        if (Hosted.redisplay) {
            Hosted.redisplay = 0;
            WindowEvents.display();
        }
    }
    hostedDestroyWindow();
}

// ---- openHostWindow, HOSTED_PLATFORM ---------------------------------------------
int openHostWindow(unsigned long window, int preview)
{
    Hosted = {};
    Hosted.preview = preview;
    Hosted.host = (HWND)(uintptr_t)window;
    RECT r;
    if (window == 0 || !IsWindow(Hosted.host) || !GetClientRect(Hosted.host, &r)) {
        if (!preview) printf("Cannot use the host window 0x%lx.\n", window);
        return 0;
    }
    Hosted.width = r.right;
    Hosted.height = r.bottom;

    WNDCLASSA c = {};
    c.style = CS_OWNDC;  // the pixel format and the context stay with the child's one DC
    c.lpfnWndProc = childProc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.hCursor = nullptr;  // the host's cursor stays
    c.lpszClassName = CHILD_CLASS;
    return RegisterClassA(&c) != 0;
}

// The host owns the input and the menu never shows there: no modifiers, no
// pointer and no menu text; the pixel format is chosen when the window is
// made, so any display mode passes.
const platform HOSTED_PLATFORM = windowSeamPlatform(hostedCreateWindow, hostedDestroyWindow, hostedMainLoop,
                                                    hostedPostRedisplay, hostedSwapBuffers, presentPixelsToWindow,
                                                    hostedSetWindowTitle);

// ---- Owner window ----------------------------------------------------------------
// The control panel's Settings dialog, which /c:HWND names: disabled while
// the configure window is open, so that it cannot start a second one.
static HWND Owner = nullptr;

static void enableOwner()
{
    if (Owner && IsWindow(Owner)) EnableWindow(Owner, TRUE);
}

void useOwnerWindow(unsigned long window)
{
    HWND w = (HWND)(uintptr_t)window;
    if (window == 0 || !IsWindow(w)) return;  // a stale handle: a window of its own, as with /c
    Owner = w;
    EnableWindow(Owner, FALSE);
    atexit(enableOwner);  // every end but a kill goes through exit
}

void giveWindowToOwner()
{
    if (!Owner) return;
    HWND w = WindowFromDC(wglGetCurrentDC());
    if (w) SetWindowLongPtrA(w, GWLP_HWNDPARENT, (LONG_PTR)Owner);
}
