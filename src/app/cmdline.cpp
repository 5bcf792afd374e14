// The command line, read once.
//
// Index
//   - Run-mode switches, and the window after the switch
//   - Window ids
//   - Program options
//   - Setting options: one "--name[=value]" argument
//   - readCommandLine
//   - Wrappers: screenSaverMode, hostWindowFromArguments, infoOption,
//     applyCommandLineSettings, applySettingOptions
#include "app/cmdline.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/mainmenu.h"
#include "app/options.h"
#include "core/appdata.h"
#include "menu/settings.h"
#include "render/frame.h"

constexpr unsigned long LARGEST_WINDOW_ID = 0xFFFFFFFFul;  // X resource ids are 32-bit

static const char* const CONFIGURE_SWITCHES[] = {"-C", "/C", "C", "-c", "/c", "c", nullptr};
static const char* const PREVIEW_SWITCHES[] = {"-P", "/P", "P", "-p", "/p", "p", nullptr};

// ---- Run-mode switches ---------------------------------------------------------
int strcmpleft(const char* prefix, const char* s)
{
    for (; *prefix; prefix++, s++) {
        if (*prefix != *s) return 0;  // also stops at the end of s
    }
    return 1;
}

int findstr(const char* s, const char* const* list)
{
    for (; *list; list++) {
        if (strcmpleft(*list, s)) return 1;
    }
    return 0;
}

// The run mode an argument selects, or 0.
static int switchMode(const char* argument)
{
    if (findstr(argument, CONFIGURE_SWITCHES)) return MODE_CONFIGURE;
    if (findstr(argument, PREVIEW_SWITCHES)) return MODE_PREVIEW;
    return 0;
}

// ---- Window ids ----------------------------------------------------------------------
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

static void readHostedArgument(const hostedoption* h, const char* value, const char* environmentWindow,
                               commandline* c)
{
    if (c->host == HOST_WINDOW_INVALID) return;  // the first bad id is the one reported
    switch (h->kind) {
    case HOSTED_WINDOW: c->host = HOST_WINDOW_NONE; break;
    case HOSTED_WINDOW_ID:
        if (!parseWindowId(value, &c->hostWindow)) {
            snprintf(c->hostComplaint, sizeof c->hostComplaint, "Invalid host window id (%.64s).", value);
            c->host = HOST_WINDOW_INVALID;
            return;
        }
        c->host = HOST_WINDOW_GIVEN;
        break;
    default:  // HOSTED_ROOT
        c->hostWindow = 0;  // the root window
        if (environmentWindow && environmentWindow[0] && !parseWindowId(environmentWindow, &c->hostWindow)) {
            snprintf(c->hostComplaint, sizeof c->hostComplaint, "Invalid host window id (XSCREENSAVER_WINDOW=%.64s).",
                     environmentWindow);
            c->host = HOST_WINDOW_INVALID;
            return;
        }
        c->host = HOST_WINDOW_GIVEN;
        break;
    }
}

// The window the control panel names after the run-mode switch in argv[i]:
// after a colon ("/c:1234", "/p:1234") or, for the preview, as the next
// argument ("/p 1234"), in decimal. Returns the index of the last argument used.
static int readSwitchWindow(int argc, char** argv, int i, commandline* c)
{
    unsigned long* window = c->runMode == MODE_PREVIEW ? &c->previewWindow : &c->ownerWindow;
    if (const char* colon = strchr(argv[i], ':')) {
        parseWindowId(colon + 1, window);  // a malformed handle leaves none
        return i;
    }
    if (c->runMode != MODE_PREVIEW || i + 1 >= argc || !isdigit((unsigned char)argv[i + 1][0])) return i;
    parseWindowId(argv[i + 1], window);
    return i + 1;
}

// ---- Program options ---------------------------------------------------------------
static void complain(commandline* c, const char* what);

static void readProgramArgument(const programoption* p, const char* value, commandline* c)
{
    switch (p->kind) {
    case PROGRAM_HELP:
        if (!c->info) c->info = INFO_HELP;
        break;
    case PROGRAM_VERSION:
        if (!c->info) c->info = INFO_VERSION;
        break;
    case PROGRAM_SEED: {
        char* end = nullptr;
        errno = 0;
        unsigned long seed = strtoul(value, &end, 10);
        if (!isdigit((unsigned char)value[0]) || *end != '\0' || errno != 0 || seed > 0xFFFFFFFFul) {
            char what[COMPLAINT_SIZE];
            snprintf(what, sizeof what, "--seed needs a whole number from 0 to 4294967295, not \"%.64s\"", value);
            complain(c, what);
            break;
        }
        c->seedGiven = 1;
        c->seed = seed;
        break;
    }
    case PROGRAM_RENDERER: {
        static const char* const WAYS[] = {"auto", "gl", "memory"};  // in RENDERER_* order
        for (int way = RENDERER_AUTO; way <= RENDERER_MEMORY; way++) {
            if (strcmp(value, WAYS[way]) == 0) {
                c->renderer = way;
                return;
            }
        }
        char what[COMPLAINT_SIZE];
        snprintf(what, sizeof what, "--renderer needs auto, gl or memory, not \"%.64s\"", value);
        complain(c, what);
        break;
    }
    default: break;
    }
}

// ---- Setting options: one "--name[=value]" argument ------------------------------
static void complain(commandline* c, const char* what)
{
    if (c->complaintCount >= MAX_COMPLAINTS) return;
    snprintf(c->complaints[c->complaintCount++], COMPLAINT_SIZE, "%s: %.200s; ignored (see %s --help)", PROGRAM_NAME, what,
             PROGRAM_NAME);
}

static void giveSetting(commandline* c, const settingoption* o, const char* value)
{
    if (c->settingCount >= MAX_SETTING_ARGUMENTS) return;
    c->settings[c->settingCount++] = {o->item, value, (int)(o - SettingOptions)};
}

// The whole text is a number of the row's kind: an integer for list boxes
// and integer track bars, a decimal or exponent number for float track bars.
static bool isNumber(const settingoption* o, const char* text)
{
    char* end = nullptr;
    if (o->item->type == MENU_FTRACKBAR) {
        double v = strtod(text, &end);
        return end != text && *end == '\0' && !std::isnan(v);
    }
    strtoll(text, &end, 10);
    return end != text && *end == '\0';
}

// Reads argument i, which begins with "--"; the value may also be the next
// argument, which is then consumed unless it is another option or a
// hosted-run argument. Returns the index of the last argument used.
static int readSettingArgument(int argc, char** argv, int i, commandline* c)
{
    char what[COMPLAINT_SIZE];
    const char* arg = argv[i] + 2;
    const char* equals = strchr(arg, '=');
    int nameLength = equals ? (int)(equals - arg) : (int)strlen(arg);
    char name[OPTION_NAME_SIZE];
    if (nameLength >= OPTION_NAME_SIZE) nameLength = OPTION_NAME_SIZE - 1;  // too long for any option
    memcpy(name, arg, nameLength);
    name[nameLength] = '\0';

    bool negated = false;
    const settingoption* o = findSettingOption(name);
    if (!o && strncmp(name, "no-", 3) == 0) {
        o = findSettingOption(name + 3);
        negated = o != nullptr;
    }
    if (!o || (negated && o->unit)) {
        snprintf(what, sizeof what, "unknown option --%s", name);
        complain(c, what);
        return i;
    }

    if (!o->unit) {  // a check box: --name sets it, --no-name clears it
        if (equals) {
            snprintf(what, sizeof what, "--%s takes no value", name);
            complain(c, what);
        } else {
            giveSetting(c, o, negated ? "0" : "1");
        }
        return i;
    }

    const char* value = nullptr;
    if (equals) {
        value = equals + 1;
    } else if (i + 1 < argc && strncmp(argv[i + 1], "--", 2) != 0 && !findHostedOption(argv[i + 1])) {
        value = argv[++i];
    }
    if (!value || !*value) {
        snprintf(what, sizeof what, "--%s needs a value %s", o->name, o->unit);
        complain(c, what);
    } else if (!isNumber(o, value)) {
        snprintf(what, sizeof what, "--%s needs %s, not \"%.64s\"", o->name,
                 o->item->type == MENU_FTRACKBAR ? "a number" : "a whole number", value);
        complain(c, what);
    } else {
        giveSetting(c, o, value);
    }
    return i;
}

// ---- readCommandLine -------------------------------------------------------------------
void readCommandLine(menu* m, int argc, char** argv, const char* environmentWindow, commandline* out)
{
    *out = {};
    out->host = HOST_WINDOW_NONE;
    out->renderer = RENDERER_AUTO;
    buildSettingOptions(m);
    for (int i = 1; i < argc; i++) {
        const char* a = argv[i];
        if (const hostedoption* h = findHostedOption(a)) {
            const char* value = "";
            if (h->arg && i + 1 < argc) value = argv[++i];  // the window id, whatever it is
            readHostedArgument(h, value, environmentWindow, out);
        } else if (const programoption* p = findProgramOption(a)) {
            const char* value = "";
            if (p->arg && i + 1 < argc) value = argv[++i];
            readProgramArgument(p, value, out);
        } else if (strncmp(a, "--", 2) == 0) {
            i = readSettingArgument(argc, argv, i, out);
        } else if (!out->runMode) {
            out->runMode = switchMode(a);  // other arguments are skipped
            if (out->runMode) i = readSwitchWindow(argc, argv, i, out);
        }
    }
    if (!out->runMode) out->runMode = MODE_SCREENSAVER;
}

// ---- Wrappers -------------------------------------------------------------------------------
static commandline Scratch;  // large: kept off the stack of the wrappers

int screenSaverMode(int argc, char** argv)
{
    readCommandLine(&MainMenu, argc, argv, nullptr, &Scratch);
    return Scratch.runMode;
}

int hostWindowFromArguments(int argc, char** argv, const char* environmentWindow, unsigned long* window)
{
    readCommandLine(&MainMenu, argc, argv, environmentWindow, &Scratch);
    if (Scratch.host == HOST_WINDOW_INVALID) puts(Scratch.hostComplaint);
    if (Scratch.host == HOST_WINDOW_GIVEN) *window = Scratch.hostWindow;
    return Scratch.host;
}

int infoOption(menu* m, int argc, char** argv)
{
    readCommandLine(m, argc, argv, nullptr, &Scratch);
    if (Scratch.info == INFO_HELP) printUsage(m, stdout);
    if (Scratch.info == INFO_VERSION) printVersion(m, stdout);
    return Scratch.info != INFO_NONE;
}

void applyCommandLineSettings(const commandline* c)
{
    for (int i = 0; i < c->complaintCount; i++) fprintf(stderr, "%s\n", c->complaints[i]);
    bool minGiven = false, maxGiven = false;
    for (int i = 0; i < c->settingCount; i++) {
        menuAssign(c->settings[i].item, c->settings[i].value);
        minGiven = minGiven || c->settings[i].item == &ITrackBarMinDegree;
        maxGiven = maxGiven || c->settings[i].item == &ITrackBarMaxDegree;
    }
    if (maxGiven && !minGiven) maxDegreeGivenAlone();
}

void applySettingOptions(menu* m, int argc, char** argv)
{
    readCommandLine(m, argc, argv, nullptr, &Scratch);
    applyCommandLineSettings(&Scratch);
}
