// The usage text, from the command line's tables.
//
// Index
//   - Systems
//   - Value texts
//   - Run-mode switches
//   - Usage and version
#include "app/usage.h"

#include <cctype>
#include <cstring>

#include "core/settingsfile.h"
#include "menu/rowvalue.h"

constexpr int USAGE_WIDTH = 79;   // columns of the usage text
constexpr int USAGE_INDENT = 18;  // column where descriptions start

// ---- Systems ------------------------------------------------------------------------
const usagesystem USAGE_LINUX = {PROGRAM_NAME, false, true, SETTINGS_PATH_RULE};
const usagesystem USAGE_WINDOWS = {"vyr.scr", true, false, WINDOWS_SETTINGS_PATH_RULE};
#ifdef _WIN32
const usagesystem& NATIVE_USAGE = USAGE_WINDOWS;
#else
const usagesystem& NATIVE_USAGE = USAGE_LINUX;
#endif

// ---- Value texts ---------------------------------------------------------------------
void settingValueText(const settingoption* o, double value, char* out, int size)
{
    rowValueOps(o->item)->format(value, o->decimals, out, size);
}

void settingDefaultText(const settingoption* o, char* out, int size)
{
    if (rowValueOps(o->item)->kind == VALUE_ONOFF) snprintf(out, size, "%s", menuRowValue(o->item) != 0 ? "on" : "off");
    else settingValueText(o, menuRowValue(o->item), out, size);
}

void settingRangeText(const settingoption* o, char* out, int size)
{
    int kind = rowValueOps(o->item)->kind;
    if (kind == VALUE_ONOFF) {
        snprintf(out, size, "on or off");
        return;
    }
    char lo[32], hi[32];
    double low, high;
    menuRowRange(o->item, &low, &high);
    if (kind == VALUE_CHOICE) {
        int n = 0;
        out[0] = '\0';
        for (int k = 0; k <= (int)high && n < size; k++) {
            n += snprintf(out + n, size - n, "%s%d=%s", k ? ", " : "", k, rowChoiceText(o->item, k));
        }
        return;
    }
    settingValueText(o, low, lo, sizeof lo);
    settingValueText(o, high, hi, sizeof hi);
    snprintf(out, size, "%s to %s%s%s", lo, hi, o->suffix[0] ? " " : "", o->suffix);
}

// ---- Run-mode switches -----------------------------------------------------------------
void runSwitchColumn(const runswitch* s, const usagesystem* system, char* out, int size)
{
    out[0] = '\0';
    if (!s->names) {
        snprintf(out, size, "%s", system->windows ? "/s" : "anything else");
        return;
    }
    if (system->windows) {
        const char* name = s->names[0];
        if (s->window == SWITCH_WINDOW_COLON) snprintf(out, size, "%s, %s:HWND", name, name);
        else if (s->window == SWITCH_WINDOW_COLON_OR_NEXT) snprintf(out, size, "%s HWND, %s:HWND", name, name);
        else snprintf(out, size, "%s", name);
        return;
    }
    int n = 0;
    for (const char* const* name = s->names; *name && n < size; name++) {
        bool lower = true;
        for (const char* c = *name; *c; c++) lower = lower && !isupper((unsigned char)*c);
        if (lower) n += snprintf(out + n, size - n, "%s%s", n ? ", " : "", *name);
    }
}

const char* runSwitchText(const runswitch* s, const usagesystem* system)
{
    return system->windows ? s->windowsText : s->text;
}

// ---- Usage and version ------------------------------------------------------------------
// Prints text from the current column, wrapped at USAGE_WIDTH with the
// continuation lines indented to USAGE_INDENT.
static void printWrapped(FILE* out, int column, const char* text)
{
    const char* word = text;
    while (*word) {
        int len = (int)strcspn(word, " ");
        if (column > USAGE_INDENT && column + 1 + len > USAGE_WIDTH) {
            fprintf(out, "\n%*s", USAGE_INDENT, "");
            column = USAGE_INDENT;
        } else if (word != text) {
            fputc(' ', out);
            column++;
        }
        fprintf(out, "%.*s", len, word);
        column += len;
        word += len;
        while (*word == ' ') word++;
    }
    fputc('\n', out);
}

// One entry: the option column, then its description in the next column or,
// when the option is too wide, on the next line.
static void printEntry(FILE* out, const char* option, const char* text)
{
    int column = fprintf(out, "  %s", option);
    if (column >= USAGE_INDENT - 1) {
        fprintf(out, "\n");
        column = 0;
    }
    fprintf(out, "%*s", USAGE_INDENT - column, "");
    printWrapped(out, USAGE_INDENT, text);
}

void printUsage(menu* m, FILE* out, const usagesystem* system)
{
    char option[2 * OPTION_NAME_SIZE + 16], text[2 * OPTION_TEXT_SIZE];
    const settingoptions* settings = settingOptions(m);
    fprintf(out,
            "Usage: %s [SWITCH] [OPTION...]\n"
            "Draws the attractor of a random iterated function system, morphing from one\n"
            "to the next, as a screen saver or in a window with a settings menu.\n"
            "\n"
            "Run mode (the first argument that begins with one of these decides; any case):\n",
            system->program);
    for (int i = 0; i < RUN_SWITCH_COUNT; i++) {
        runSwitchColumn(&RUN_SWITCHES[i], system, option, sizeof option);
        printEntry(out, option, runSwitchText(&RUN_SWITCHES[i], system));
    }
    if (system->hostedRuns) fprintf(out, "\nHosted run, in the window of a screen-saver host (also with one dash):\n");
    for (int i = 0; system->hostedRuns && i < HOSTED_OPTION_COUNT; i++) {
        const hostedoption* h = &HOSTED_OPTIONS[i];
        snprintf(option, sizeof option, "--%s%s%s", h->name, h->arg ? " " : "", h->arg ? h->arg : "");
        printEntry(out, option, h->text);
    }
    fprintf(out, "\nSettings (they win over VYR.ini for this run; values out of range are clamped):\n");
    for (int i = 0; i < settings->count; i++) {
        const settingoption* o = &settings->options[i];
        char range[OPTION_TEXT_SIZE], def[32];
        if (o->unit) {
            snprintf(option, sizeof option, "--%.63s %s", o->name, o->unit);
        } else {
            snprintf(option, sizeof option, "--%.63s, --no-%.63s", o->name, o->name);
        }
        settingRangeText(o, range, sizeof range);
        settingDefaultText(o, def, sizeof def);
        snprintf(text, sizeof text, "%s: %s (default %s)", o->title, range, def);
        printEntry(out, option, text);
    }
    fprintf(out, "\nFiles:\n");
    printEntry(out, SETTINGS_FILE_NAME, system->settingsRule);
    fprintf(out, "\n");
    for (int i = 0; i < PROGRAM_OPTION_COUNT; i++) {
        const programoption* p = &PROGRAM_OPTIONS[i];
        snprintf(option, sizeof option, "--%s%s%s", p->name, p->arg ? " " : "", p->arg ? p->arg : "");
        printEntry(out, option, p->text);
    }
}

void printSettingsPath(const char* path, const char* former, FILE* out)
{
    if (strcmp(path, SETTINGS_FILE_NAME) == 0) {
        fprintf(out, "\nSettings file of this run: %s in the current folder\n", path);
    } else {
        fprintf(out, "\nSettings file of this run: %s\n", path);
    }
    if (former[0]) fprintf(out, "Read from %s until the first save moves it there\n", former);
}

void printVersion(menu* m, FILE* out) { fprintf(out, "%s\n", m->pages[0]->name); }
