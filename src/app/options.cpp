// Command-line options derived from the menu rows.
//
// Index
//   - Hosted-run arguments
//   - Option table: titles, names and units taken from the labels
//   - Value texts
//   - Usage and version
#include "app/options.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/settingsfile.h"

constexpr int USAGE_WIDTH = 79;         // columns of the usage text
constexpr int USAGE_INDENT = 18;        // column where descriptions start

settingoption SettingOptions[MAX_SETTING_OPTIONS];
int settingOptionCount = 0;

// ---- Hosted-run arguments --------------------------------------------------------
const hostedoption HOSTED_OPTIONS[] = {
    {"root", nullptr, HOSTED_ROOT,
     "draw in the window named by XSCREENSAVER_WINDOW (hex 0x.. or decimal), or in the root window when "
     "it is not set"},
    {"window-id", "ID", HOSTED_WINDOW_ID, "draw in the window ID (hex 0x.. or decimal)"},
    {"window", nullptr, HOSTED_WINDOW, "open a window of its own, as without these options"},
};
const int HOSTED_OPTION_COUNT = sizeof HOSTED_OPTIONS / sizeof HOSTED_OPTIONS[0];

const hostedoption* findHostedOption(const char* arg)
{
    if (arg[0] != '-') return nullptr;
    const char* name = arg[1] == '-' ? arg + 2 : arg + 1;
    for (int i = 0; i < HOSTED_OPTION_COUNT; i++) {
        if (strcmp(name, HOSTED_OPTIONS[i].name) == 0) return &HOSTED_OPTIONS[i];
    }
    return nullptr;
}

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

const programoption* findProgramOption(const char* arg)
{
    if (strncmp(arg, "--", 2) != 0) return nullptr;
    for (int i = 0; i < PROGRAM_OPTION_COUNT; i++) {
        if (strcmp(arg + 2, PROGRAM_OPTIONS[i].name) == 0) return &PROGRAM_OPTIONS[i];
    }
    return nullptr;
}

// ---- Option table -----------------------------------------------------------------
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

void buildSettingOptions(menu* m)
{
    settingOptionCount = 0;
    for (int p = 0; p < m->pageCount; p++) {
        menupage* page = m->pages[p];
        for (int i = 0; i < page->itemCount && settingOptionCount < MAX_SETTING_OPTIONS; i++) {
            menuitem* item = page->items[i];
            if (!menuRowHasValue(item)) continue;
            settingoption* o = &SettingOptions[settingOptionCount++];
            o->item = item;
            labelTitle(item->name, o->title, sizeof o->title);
            titleName(o->title, o->name, sizeof o->name);
            o->unit = nullptr;
            o->unitWord[0] = o->suffix[0] = '\0';
            o->decimals = 0;
            if (item->type == MENU_LISTBOX) o->unit = "N";
            if (item->type == MENU_ITRACKBAR || item->type == MENU_FTRACKBAR) {
                trackBarUnit(item->name, item->type == MENU_FTRACKBAR, o);
            }
        }
    }
}

const settingoption* findSettingOption(const char* name)
{
    for (int i = 0; i < settingOptionCount; i++) {
        if (strcmp(SettingOptions[i].name, name) == 0) return &SettingOptions[i];
    }
    return nullptr;
}

// ---- Value texts ---------------------------------------------------------------------
void settingValueText(const settingoption* o, double value, char* out, int size)
{
    if (o->item->type == MENU_FTRACKBAR) {
        snprintf(out, size, "%.*f", o->decimals, value);
    } else {
        snprintf(out, size, "%d", (int)value);
    }
}

void settingDefaultText(const settingoption* o, char* out, int size)
{
    if (o->item->type == MENU_CHECKBOX) snprintf(out, size, "%s", menuRowValue(o->item) != 0 ? "on" : "off");
    else settingValueText(o, menuRowValue(o->item), out, size);
}

void settingRangeText(const settingoption* o, char* out, int size)
{
    if (o->item->type == MENU_CHECKBOX) {
        snprintf(out, size, "on or off");
        return;
    }
    if (o->item->type == MENU_LISTBOX) {
        auto* d = static_cast<listbox*>(o->item->data);
        int n = 0;
        out[0] = '\0';
        for (int k = 0; k < d->choiceCount && n < size; k++) {
            n += snprintf(out + n, size - n, "%s%d=%s", k ? ", " : "", k, d->texts[k]);
        }
        return;
    }
    char lo[32], hi[32];
    double low, high;
    menuRowRange(o->item, &low, &high);
    settingValueText(o, low, lo, sizeof lo);
    settingValueText(o, high, hi, sizeof hi);
    snprintf(out, size, "%s to %s%s%s", lo, hi, o->suffix[0] ? " " : "", o->suffix);
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

void printUsage(menu* m, FILE* out)
{
    char option[2 * OPTION_NAME_SIZE + 16], text[2 * OPTION_TEXT_SIZE];
    buildSettingOptions(m);
    fprintf(out,
            "Usage: %s [SWITCH] [OPTION...]\n"
            "Draws the attractor of a random iterated function system, morphing from one\n"
            "to the next, as a screen saver or in a window with a settings menu.\n"
            "\n"
            "Run mode (the first argument that begins with one of these decides; any case):\n",
            PROGRAM_NAME);
    printEntry(out, "/c, -c, c", "configure: a window with the settings menu shown");
    printEntry(out, "/p, -p, p", "preview: return at once");
    printEntry(out, "anything else", "screen saver: full screen; a key, a click or a move of the pointer ends it");
    fprintf(out, "\nHosted run, in the window of a screen-saver host (also with one dash):\n");
    for (int i = 0; i < HOSTED_OPTION_COUNT; i++) {
        const hostedoption* h = &HOSTED_OPTIONS[i];
        snprintf(option, sizeof option, "--%s%s%s", h->name, h->arg ? " " : "", h->arg ? h->arg : "");
        printEntry(out, option, h->text);
    }
    fprintf(out, "\nSettings (they win over VYR.ini for this run; values out of range are clamped):\n");
    for (int i = 0; i < settingOptionCount; i++) {
        const settingoption* o = &SettingOptions[i];
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
    printEntry(out, SETTINGS_FILE_NAME, SETTINGS_PATH_RULE);
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
