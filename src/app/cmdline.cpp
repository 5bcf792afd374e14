// The command line's tables and its one parser.
//
// Index
//   - Run-mode switches and window ids
//   - Hosted-run arguments
//   - Program options
//   - Setting options: the table derived from the menu rows
//   - Setting options: one "--name[=value]" argument
//   - readCommandLine, applyCommandLineSettings
#include "app/cmdline.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/mainmenu.h"
#include "core/appdata.h"
#include "menu/rowvalue.h"
#include "menu/settings.h"
#include "render/frame.h"

constexpr unsigned long LARGEST_WINDOW_ID = 0xFFFFFFFFul;  // X resource ids are 32-bit

// ---- Run-mode switches and window ids -------------------------------------------
static const char* const CONFIGURE_SWITCHES[] = {"/c", "-c", "c", "/C", "-C", "C", nullptr};
static const char* const PREVIEW_SWITCHES[] = {"/p", "-p", "p", "/P", "-P", "P", nullptr};

const runswitch RUN_SWITCHES[] = {
    {MODE_CONFIGURE, CONFIGURE_SWITCHES, SWITCH_WINDOW_COLON, "configure: a window with the settings menu shown",
     "configure: a window with the settings menu shown; given HWND (as the control panel's Settings button "
     "passes it), owned by that window, which stays disabled until it closes"},
    {MODE_PREVIEW, PREVIEW_SWITCHES, SWITCH_WINDOW_COLON_OR_NEXT, "preview: return at once",
     "preview: draw inside the window HWND (the control panel's little picture) until it closes"},
    {MODE_SCREENSAVER, nullptr, SWITCH_WINDOW_NONE,
     "screen saver: full screen; a key, a click or a move of the pointer ends it",
     "screen saver, also without a switch: full screen over every monitor; a key, a click or a move of the "
     "pointer ends it"},
};
const int RUN_SWITCH_COUNT = sizeof RUN_SWITCHES / sizeof RUN_SWITCHES[0];

// Reads a window id, "0x" and hex digits or decimal digits; 0 if malformed or 0.
static int parseWindowId(const char* text, unsigned long* window)
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

// The two matchers have no declaration in cmdline.h: the tests declare them
// for themselves. 1 if s begins with prefix.
int strcmpleft(const char* prefix, const char* s)
{
    for (; *prefix; prefix++, s++) {
        if (*prefix != *s) return 0;  // also stops at the end of s
    }
    return 1;
}

// 1 if an entry of the null-terminated list is a prefix of s.
int findstr(const char* s, const char* const* list)
{
    for (; *list; list++) {
        if (strcmpleft(*list, s)) return 1;
    }
    return 0;
}

// The switch an argument begins with, or null.
static const runswitch* findRunSwitch(const char* argument)
{
    for (int i = 0; i < RUN_SWITCH_COUNT; i++) {
        if (RUN_SWITCHES[i].names && findstr(argument, RUN_SWITCHES[i].names)) return &RUN_SWITCHES[i];
    }
    return nullptr;
}

// The window the control panel names after the run-mode switch in argv[i]:
// after a colon ("/c:1234", "/p:1234") or, where the switch takes it so, as
// the next argument ("/p 1234"), in decimal. Returns the index of the last
// argument used.
static int readSwitchWindow(int argc, char** argv, int i, const runswitch* s, commandline* c)
{
    if (s->window == SWITCH_WINDOW_NONE) return i;
    unsigned long* window = s->mode == MODE_PREVIEW ? &c->previewWindow : &c->ownerWindow;
    if (const char* colon = strchr(argv[i], ':')) {
        parseWindowId(colon + 1, window);  // a malformed handle leaves none
        return i;
    }
    if (s->window != SWITCH_WINDOW_COLON_OR_NEXT || i + 1 >= argc || !isdigit((unsigned char)argv[i + 1][0])) return i;
    parseWindowId(argv[i + 1], window);
    return i + 1;
}

// ---- Hosted-run arguments -------------------------------------------------------------
const hostedoption HOSTED_OPTIONS[] = {
    {"root", nullptr, HOSTED_ROOT,
     "draw in the window named by XSCREENSAVER_WINDOW (hex 0x.. or decimal), or in the root window when "
     "it is not set"},
    {"window-id", "ID", HOSTED_WINDOW_ID, "draw in the window ID (hex 0x.. or decimal)"},
    {"window", nullptr, HOSTED_WINDOW, "open a window of its own, as without these options"},
};
const int HOSTED_OPTION_COUNT = sizeof HOSTED_OPTIONS / sizeof HOSTED_OPTIONS[0];

// The hosted-run option arg names ("-root", "--root"...), or null.
static const hostedoption* findHostedOption(const char* arg)
{
    if (arg[0] != '-') return nullptr;
    const char* name = arg[1] == '-' ? arg + 2 : arg + 1;
    for (int i = 0; i < HOSTED_OPTION_COUNT; i++) {
        if (strcmp(name, HOSTED_OPTIONS[i].name) == 0) return &HOSTED_OPTIONS[i];
    }
    return nullptr;
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

// ---- Program options ---------------------------------------------------------------
static void complain(commandline* c, const char* what);

const programoption PROGRAM_OPTIONS[] = {
    {"help", nullptr, PROGRAM_HELP, "print this text and exit"},
    {"version", nullptr, PROGRAM_VERSION, "print the version and exit"},
    {"seed", "N", PROGRAM_SEED,
     "start the random generator from N instead of the clock and the process id, for a repeatable picture"},
    {"renderer", "WAY", PROGRAM_RENDERER,
     "how frames are drawn: auto (the default: composed in memory when OpenGL draws on the processor, and "
     "measured to be faster there), gl (always OpenGL) or memory (always composed in memory)"},
    {"user-settings", nullptr, PROGRAM_USER_SETTINGS,
     "keep the settings in the user's own file whatever the current folder, as a hosted run does (desktop "
     "entries start VYR so)"},
};
const int PROGRAM_OPTION_COUNT = sizeof PROGRAM_OPTIONS / sizeof PROGRAM_OPTIONS[0];

// The program option arg names ("--help"...), or null.
static const programoption* findProgramOption(const char* arg)
{
    if (strncmp(arg, "--", 2) != 0) return nullptr;
    for (int i = 0; i < PROGRAM_OPTION_COUNT; i++) {
        if (strcmp(arg + 2, PROGRAM_OPTIONS[i].name) == 0) return &PROGRAM_OPTIONS[i];
    }
    return nullptr;
}

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
    case PROGRAM_USER_SETTINGS: c->userSettings = 1; break;
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

// ---- Setting options: the table derived from the menu rows ---------------------------
// The label up to its value format (":" or a printf conversion), without a
// trailing shortcut letter in parentheses: "Fullscreen (F)" gives "Fullscreen",
// "Cycle length : %.1f sec" gives "Cycle length".
static void labelTitle(const char* label, char* out, int size)
{
    int n = 0;
    for (; label[n] && label[n] != ':' && label[n] != '%' && n < size - 1; n++) out[n] = label[n];
    while (n > 0 && out[n - 1] == ' ') n--;
    if (n >= 4 && out[n - 1] == ')' && isupper((unsigned char)out[n - 2]) && out[n - 3] == '(' && out[n - 4] == ' ') {
        n -= 4;
    }
    out[n] = '\0';
}

// The title's words (runs of letters and digits) in lower case, joined by '-'.
static void titleName(const char* title, char* out, int size)
{
    int n = 0;
    bool gap = false;
    for (const char* c = title; *c && n < size - 2; c++) {
        if (isalnum((unsigned char)*c)) {
            if (gap && n > 0) out[n++] = '-';
            out[n++] = (char)tolower((unsigned char)*c);
            gap = false;
        } else {
            gap = true;
        }
    }
    out[n] = '\0';
}

// A track bar's unit is what its label shows after the number: "%%" is a
// percentage, a word ("sec") names the unit, nothing leaves a plain number.
// The precision of the conversion sets the decimals of a float.
static void trackBarUnit(const char* label, bool isFloat, settingoption* o)
{
    o->unit = isFloat ? "X" : "N";
    const char* conv = strchr(label, '%');
    while (conv && conv[1] == '%') conv = strchr(conv + 2, '%');
    if (!conv) return;
    const char* c = conv + 1;
    while (*c && strchr("-+ #0123456789", *c)) c++;
    if (*c == '.') {
        o->decimals = atoi(c + 1);
        c++;
        while (isdigit((unsigned char)*c)) c++;
    }
    if (*c) c++;  // the conversion letter
    while (*c == ' ') c++;
    if (strncmp(c, "%%", 2) == 0) {
        snprintf(o->suffix, sizeof o->suffix, "%%");
        o->unit = "PCT";
    } else if (*c) {
        int n = 0;
        for (; c[n] && c[n] != ' ' && n < (int)sizeof o->suffix - 1; n++) {
            o->suffix[n] = c[n];
            o->unitWord[n] = (char)toupper((unsigned char)c[n]);
        }
        o->suffix[n] = o->unitWord[n] = '\0';
        o->unit = o->unitWord;
    }
}

static void buildSettingOptions(menu* m, settingoptions* table)
{
    table->source = m;
    table->count = 0;
    for (int p = 0; p < m->pageCount; p++) {
        menupage* page = m->pages[p];
        for (int i = 0; i < page->itemCount && table->count < MAX_SETTING_OPTIONS; i++) {
            menuitem* item = page->items[i];
            const rowvalueops* ops = rowValueOps(item);
            if (!ops) continue;
            settingoption* o = &table->options[table->count++];
            o->item = item;
            labelTitle(item->name, o->title, sizeof o->title);
            titleName(o->title, o->name, sizeof o->name);
            o->unit = nullptr;
            o->unitWord[0] = o->suffix[0] = '\0';
            o->decimals = 0;
            if (ops->kind == VALUE_CHOICE) o->unit = "N";
            if (ops->kind == VALUE_WHOLE || ops->kind == VALUE_DECIMAL) {
                trackBarUnit(item->name, ops->kind == VALUE_DECIMAL, o);
            }
        }
    }
}

const settingoptions* settingOptions(menu* m)
{
    static settingoptions table;  // the menu's rows and labels never change: built once
    if (table.source != m) buildSettingOptions(m, &table);
    return &table;
}

const settingoption* findSettingOption(menu* m, const char* name)
{
    const settingoptions* table = settingOptions(m);
    for (int i = 0; i < table->count; i++) {
        if (strcmp(table->options[i].name, name) == 0) return &table->options[i];
    }
    return nullptr;
}

// ---- Setting options: one "--name[=value]" argument ------------------------------
static void complain(commandline* c, const char* what)
{
    if (c->complaintCount >= MAX_COMPLAINTS) return;
    snprintf(c->complaints[c->complaintCount++], COMPLAINT_SIZE, "%s: %.200s; ignored (see %s --help)", PROGRAM_NAME, what,
             PROGRAM_NAME);
}

static void giveSetting(commandline* c, const settingoptions* table, const settingoption* o, const char* value)
{
    if (c->settingCount >= MAX_SETTING_ARGUMENTS) return;
    c->settings[c->settingCount++] = {o->item, value, (int)(o - table->options)};
}

// The whole text is a number of the row's kind: an integer for list boxes
// and integer track bars, a decimal or exponent number for float track bars.
static bool isNumber(const settingoption* o, const char* text)
{
    char* end = nullptr;
    if (rowValueOps(o->item)->kind == VALUE_DECIMAL) {
        double v = strtod(text, &end);
        return end != text && *end == '\0' && !std::isnan(v);
    }
    strtoll(text, &end, 10);
    return end != text && *end == '\0';
}

// Reads argument i, which begins with "--"; the value may also be the next
// argument, which is then consumed unless it is another option or a
// hosted-run argument. Returns the index of the last argument used.
static int readSettingArgument(menu* m, int argc, char** argv, int i, commandline* c)
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
    const settingoption* o = findSettingOption(m, name);
    if (!o && strncmp(name, "no-", 3) == 0) {
        o = findSettingOption(m, name + 3);
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
            giveSetting(c, settingOptions(m), o, negated ? "0" : "1");
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
                 rowValueOps(o->item)->kind == VALUE_DECIMAL ? "a number" : "a whole number", value);
        complain(c, what);
    } else {
        giveSetting(c, settingOptions(m), o, value);
    }
    return i;
}

// ---- readCommandLine -------------------------------------------------------------------
void readCommandLine(menu* m, int argc, char** argv, const char* environmentWindow, commandline* out)
{
    *out = {};
    out->host = HOST_WINDOW_NONE;
    out->renderer = RENDERER_AUTO;
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
            i = readSettingArgument(m, argc, argv, i, out);
        } else if (!out->runMode) {
            if (const runswitch* s = findRunSwitch(a)) {  // other arguments are skipped
                out->runMode = s->mode;
                i = readSwitchWindow(argc, argv, i, s, out);
            }
        }
    }
    if (!out->runMode) out->runMode = MODE_SCREENSAVER;
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

