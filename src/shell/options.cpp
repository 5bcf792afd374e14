// Command-line options derived from the menu rows.
//
// Index
//   - Hosted-run arguments
//   - Option table: titles, names and units taken from the labels
//   - Value texts
//   - Usage and version
//   - Applying: one argument at a time, then the degree pair
#include "shell/options.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "menu/mainmenu.h"
#include "menu/settings.h"

constexpr const char* PROGRAM_NAME = "vyr";
constexpr int USAGE_WIDTH = 79;         // columns of the usage text
constexpr int USAGE_INDENT = 18;        // column where descriptions start

settingoption SettingOptions[MAX_SETTING_OPTIONS];
int settingOptionCount = 0;

// ---- Hosted-run arguments --------------------------------------------------------
// Read by the hosted run itself; here they are only skipped, with the window id.
const hostedoption HOSTED_OPTIONS[] = {
    {"root", nullptr,
     "draw in the window named by XSCREENSAVER_WINDOW (hex 0x.. or decimal), or in the root window when "
     "it is not set"},
    {"window-id", "ID", "draw in the window ID (hex 0x.. or decimal)"},
    {"window", nullptr, "open a window of its own, as without these options"},
};
const int HOSTED_OPTION_COUNT = sizeof HOSTED_OPTIONS / sizeof HOSTED_OPTIONS[0];

static const hostedoption* findHostedOption(const char* arg)
{
    if (arg[0] != '-') return nullptr;
    const char* name = arg[1] == '-' ? arg + 2 : arg + 1;
    for (int i = 0; i < HOSTED_OPTION_COUNT; i++) {
        if (strcmp(name, HOSTED_OPTIONS[i].name) == 0) return &HOSTED_OPTIONS[i];
    }
    return nullptr;
}

// ---- Option table -----------------------------------------------------------------
static bool isValueRow(const menuitem* item)
{
    return item->type == MENU_CHECKBOX || item->type == MENU_LISTBOX || item->type == MENU_ITRACKBAR ||
           item->type == MENU_FTRACKBAR;
}

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
            if (!isValueRow(item)) continue;
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
    void* data = o->item->data;
    switch (o->item->type) {
    case MENU_CHECKBOX: snprintf(out, size, "%s", static_cast<checkbox*>(data)->value ? "on" : "off"); break;
    case MENU_LISTBOX: settingValueText(o, static_cast<listbox*>(data)->selected, out, size); break;
    case MENU_ITRACKBAR: settingValueText(o, static_cast<itrackbar*>(data)->value, out, size); break;
    default: settingValueText(o, static_cast<ftrackbar*>(data)->value, out, size); break;
    }
}

void settingRangeText(const settingoption* o, char* out, int size)
{
    char lo[32], hi[32];
    void* data = o->item->data;
    switch (o->item->type) {
    case MENU_CHECKBOX: snprintf(out, size, "on or off"); return;
    case MENU_LISTBOX: {
        auto* d = static_cast<listbox*>(data);
        int n = 0;
        out[0] = '\0';
        for (int k = 0; k < d->choiceCount && n < size; k++) {
            n += snprintf(out + n, size - n, "%s%d=%s", k ? ", " : "", k, d->texts[k]);
        }
        return;
    }
    case MENU_ITRACKBAR: {
        auto* d = static_cast<itrackbar*>(data);
        settingValueText(o, d->min, lo, sizeof lo);
        settingValueText(o, d->max, hi, sizeof hi);
        break;
    }
    default: {
        auto* d = static_cast<ftrackbar*>(data);
        settingValueText(o, d->min, lo, sizeof lo);
        settingValueText(o, d->max, hi, sizeof hi);
        break;
    }
    }
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
    fprintf(out, "\n");
    printEntry(out, "--help", "print this text and exit");
    printEntry(out, "--version", "print the version and exit");
}

void printVersion(menu* m, FILE* out) { fprintf(out, "%s\n", m->pages[0]->name); }

int infoOption(menu* m, int argc, char** argv)
{
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--help") == 0) {
            printUsage(m, stdout);
            return 1;
        }
        if (strcmp(argv[i], "--version") == 0) {
            printVersion(m, stdout);
            return 1;
        }
    }
    return 0;
}

// ---- Applying -----------------------------------------------------------------------------
static void complain(const char* what)
{
    fprintf(stderr, "%s: %s; ignored (see %s --help)\n", PROGRAM_NAME, what, PROGRAM_NAME);
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

// Applies one "--name" or "--name=value" argument; the value may also be the
// next argument, which is then consumed unless it is another option or a
// hosted-run argument. Returns the index of the last argument used.
static int applyOne(int argc, char** argv, int i, bool* given)
{
    char what[OPTION_TEXT_SIZE];
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
        complain(what);
        return i;
    }

    if (!o->unit) {  // a check box: --name sets it, --no-name clears it
        if (equals) {
            snprintf(what, sizeof what, "--%s takes no value", name);
            complain(what);
            return i;
        }
        menuAssign(o->item, negated ? "0" : "1");
        given[o - SettingOptions] = true;
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
        complain(what);
    } else if (!isNumber(o, value)) {
        snprintf(what, sizeof what, "--%s needs %s, not \"%.64s\"", o->name,
                 o->item->type == MENU_FTRACKBAR ? "a number" : "a whole number", value);
        complain(what);
    } else {
        menuAssign(o->item, value);
        given[o - SettingOptions] = true;
    }
    return i;
}

void applySettingOptions(menu* m, int argc, char** argv)
{
    bool given[MAX_SETTING_OPTIONS] = {};
    buildSettingOptions(m);
    for (int i = 1; i < argc; i++) {
        const hostedoption* h = findHostedOption(argv[i]);
        if (h) {
            if (h->arg && i + 1 < argc) i++;  // the window id
            continue;
        }
        if (strncmp(argv[i], "--", 2) != 0) continue;  // switches and other arguments
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "--version") == 0) continue;
        i = applyOne(argc, argv, i, given);
    }

    // The degree limits stay ordered through the callback pass, where the
    // maximum follows the minimum. A maximum given alone on the command line
    // must win over a larger minimum from the settings file, so the minimum
    // comes down to it here.
    const settingoption* lo = nullptr;
    const settingoption* hi = nullptr;
    for (int i = 0; i < settingOptionCount; i++) {
        if (SettingOptions[i].item == &ITrackBarMinDegree) lo = &SettingOptions[i];
        if (SettingOptions[i].item == &ITrackBarMaxDegree) hi = &SettingOptions[i];
    }
    if (lo && hi && given[hi - SettingOptions] && !given[lo - SettingOptions]) {
        auto* loData = static_cast<itrackbar*>(lo->item->data);
        auto* hiData = static_cast<itrackbar*>(hi->item->data);
        if (loData->value > hiData->value) loData->value = hiData->value;
    }
}
