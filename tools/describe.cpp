// Writes the files that describe VYR's options to the system, from the same
// option table the program parses: the xscreensaver settings file and the
// manual page (filled into a template). Run by the build.
//
//   vyr-describe xml OUTPUT
//   vyr-describe man TEMPLATE OUTPUT
//
// Index
//   - Escaping: XML attributes, roff text
//   - xscreensaver settings file
//   - Manual page
//   - main
#include <cctype>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "app/mainmenu.h"
#include "app/usage.h"
#include "menu/rowvalue.h"

constexpr int LINE_SIZE = 1024;  // bytes of one template line

static const char* const DESCRIPTION =
    "Draws the attractor of a random iterated function system: a few half-scale maps of the plane, "
    "each turning and stepping towards a vertex of a regular polygon, run as a chaos game by a cloud "
    "of points. Every few seconds one random attractor morphs into the next; the points are coloured "
    "by a slowly drifting colour map, and their size and brightness follow the density of the cloud.\n\n"
    "A setting left \"as saved\" comes from your settings file, ~/.config/vyr/VYR.ini, which the VYR "
    "entry of the desktop menu edits; any other value here wins over it.";

// ---- Escaping --------------------------------------------------------------------
static void xmlText(FILE* out, const char* s)
{
    for (; *s; s++) {
        switch (*s) {
        case '&': fputs("&amp;", out); break;
        case '<': fputs("&lt;", out); break;
        case '>': fputs("&gt;", out); break;
        case '"': fputs("&quot;", out); break;
        default: fputc(*s, out); break;
        }
    }
}

// Roff text: a hyphen that is a minus sign in option names, a backslash
// escaped, and a line never starting with a control character.
static void roffText(FILE* out, const char* s)
{
    if (*s == '.' || *s == '\'') fputs("\\&", out);
    for (; *s; s++) {
        if (*s == '-') fputs("\\-", out);
        else if (*s == '\\') fputs("\\e", out);
        else fputc(*s, out);
    }
}

// ---- xscreensaver settings file --------------------------------------------------------
// The dialog and the settings file never disagree: every control starts at
// "as saved", which passes nothing, so the file's value is used; any other
// position passes its value, which wins over the file for that run. A check
// box becomes a three-way choice, so that it can also turn back what the
// file turned on or off; a slider gains an "as saved" end below its range.
constexpr const char* AS_SAVED = "as saved";
constexpr double AS_SAVED_SHARE = 0.05;  // of a float slider's range, below its low end

static void writeXmlChoice(FILE* out, const settingoption* o, const char* id, const char* text, const char* arg)
{
    fprintf(out, "    <option id=\"%s-%s\" _label=\"", o->name, id);
    xmlText(out, o->title);
    fputs(": ", out);
    xmlText(out, text);
    fputs("\"", out);
    if (arg) fprintf(out, " arg-set=\"%s\"", arg);
    fputs("/>\n", out);
}

static void writeXmlOption(FILE* out, const settingoption* o)
{
    char low[32], high[32], arg[OPTION_NAME_SIZE + 16], id[16];
    double lo, hi;
    menuRowRange(o->item, &lo, &hi);
    int kind = rowValueOps(o->item)->kind;
    if (kind == VALUE_ONOFF || kind == VALUE_CHOICE) {
        fprintf(out, "  <select id=\"%s\">\n", o->name);
        writeXmlChoice(out, o, "saved", AS_SAVED, nullptr);
        if (kind == VALUE_ONOFF) {
            snprintf(arg, sizeof arg, "--%s", o->name);
            writeXmlChoice(out, o, "on", "on", arg);
            snprintf(arg, sizeof arg, "--no-%s", o->name);
            writeXmlChoice(out, o, "off", "off", arg);
        } else {
            for (int k = 0; k <= (int)hi; k++) {
                snprintf(id, sizeof id, "%d", k);
                snprintf(arg, sizeof arg, "--%s %d", o->name, k);
                writeXmlChoice(out, o, id, rowChoiceText(o->item, k), arg);
            }
        }
        fputs("  </select>\n", out);
        return;
    }
    // Track bars: a slider with its "as saved" end below the range.
    double asSaved = kind == VALUE_WHOLE ? lo - 1 : lo - (hi - lo) * AS_SAVED_SHARE;
    settingValueText(o, asSaved, low, sizeof low);
    settingValueText(o, hi, high, sizeof high);
    fprintf(out, "  <number id=\"%s\" type=\"slider\" arg=\"--%s %%\"\n          _label=\"", o->name, o->name);
    xmlText(out, o->title);
    if (o->suffix[0]) {
        fputs(" (", out);
        xmlText(out, o->suffix);
        fputs(")", out);
    }
    fprintf(out, "\" _low-label=\"%s\" _high-label=\"%s\"\n          low=\"%s\" high=\"%s\" default=\"%s\"/>\n", AS_SAVED,
            high, low, high, low);
}

// The dialog in three columns, so that it fits a laptop screen of 768
// lines (at most 700 pixels); the full-screen controls do nothing in a
// host's window and are left out. Every setting option is in one group or
// left out; a column holds one or two groups.
struct xmlgroup {
    const char* title;
    const char* names[6];  // option names, ended by nullptr
};
constexpr xmlgroup XML_COLUMNS[3][2] = {
    {{"Picture", {"double-buffered", "multi-sample", "rounded-points", "sharpness", "attenuation", nullptr}},
     {nullptr, {nullptr}}},
    {{"Motion", {"motion-blur", "requested-frame-rate", "limit-cpu-usage", nullptr}},
     {"Colour", {"blend-color-method", "luminance", "colormap-space-frequency", "colormap-time-frequency", nullptr}}},
    {{"Cycle", {"cycle-length", "cycle-elasticity", "min-attractor-degree", "max-attractor-degree", nullptr}},
     {nullptr, {nullptr}}},
};
constexpr const char* XML_LEFT_OUT[] = {"fullscreen", "fullscreen-resolution", "fullscreen-color-depth-bpp",
                                        "fullscreen-refresh-rate-hz"};

static const settingoption* findSetting(const char* name) { return findSettingOption(&MainMenu, name); }

// False when an option is in no group and not left out, or a group names
// an option that does not exist: the table has fallen behind the menu.
static bool xmlGroupsComplete()
{
    int placed = 0;
    for (const auto& column : XML_COLUMNS) {
        for (const xmlgroup& g : column) {
            for (int k = 0; g.names[k]; k++, placed++) {
                if (!findSetting(g.names[k])) return false;
            }
        }
    }
    for (const char* name : XML_LEFT_OUT) {
        if (!findSetting(name)) return false;
    }
    return placed + (int)(sizeof XML_LEFT_OUT / sizeof XML_LEFT_OUT[0]) == settingOptions(&MainMenu)->count;
}

static bool writeXml(FILE* out)
{
    if (!xmlGroupsComplete()) {
        fputs("vyr-describe: the vyr.xml groups do not match the setting options\n", stderr);
        return false;
    }
    fputs("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n"
          "<screensaver name=\"vyr\" _label=\"VYR\" gl=\"yes\">\n\n"
          "  <command arg=\"--root\"/>\n\n"
          "  <hgroup>\n",
          out);
    for (const auto& column : XML_COLUMNS) {
        fputs("  <vgroup>\n", out);
        for (const xmlgroup& g : column) {
            if (!g.title) continue;
            fprintf(out, "  <!-- %s -->\n", g.title);
            for (int k = 0; g.names[k]; k++) writeXmlOption(out, findSetting(g.names[k]));
        }
        fputs("  </vgroup>\n", out);
    }
    fputs("  </hgroup>\n\n  <_description>\n", out);
    xmlText(out, DESCRIPTION);
    fputs("\n  </_description>\n</screensaver>\n", out);
    return true;
}

// ---- Manual page --------------------------------------------------------------------------
// A sentence of the usage text as the manual has it: capitalised, with a full stop.
static void roffSentence(FILE* out, const char* text)
{
    fprintf(out, "%c", toupper((unsigned char)text[0]));
    roffText(out, text + 1);
    fputs(".\n", out);
}

// The run-mode switches in bold, the mode without a switch in plain words.
static void writeManRunModes(FILE* out)
{
    for (int i = 0; i < RUN_SWITCH_COUNT; i++) {
        const runswitch* s = &RUN_SWITCHES[i];
        char column[OPTION_TEXT_SIZE];
        runSwitchColumn(s, &USAGE_LINUX, column, sizeof column);
        fputs(".TP\n", out);
        if (!s->names) {
            roffText(out, column);
        } else {
            for (char* name = strtok(column, ", "); name; name = strtok(nullptr, ", ")) {
                if (name != column) fputs(", ", out);
                fputs("\\fB", out);
                roffText(out, name);
                fputs("\\fP", out);
            }
        }
        fputs("\n", out);
        roffSentence(out, runSwitchText(s, &USAGE_LINUX));
    }
}

static void writeManHosted(FILE* out)
{
    for (int i = 0; i < HOSTED_OPTION_COUNT; i++) {
        const hostedoption* h = &HOSTED_OPTIONS[i];
        fputs(".TP\n", out);
        for (const char* dashes : {"--", "-"}) {
            fputs("\\fB", out);
            roffText(out, dashes);
            roffText(out, h->name);
            fputs("\\fP", out);
            if (h->arg) fprintf(out, " \\fI%s\\fP", h->arg);
            if (dashes[1]) fputs(", ", out);
        }
        fputs("\n", out);
        roffSentence(out, h->text);
    }
}

// The program's own options, from the same table as the usage text.
static void writeManProgram(FILE* out)
{
    for (int i = 0; i < PROGRAM_OPTION_COUNT; i++) {
        const programoption* p = &PROGRAM_OPTIONS[i];
        fputs(".TP\n\\fB", out);
        roffText(out, "--");
        roffText(out, p->name);
        fputs("\\fP", out);
        if (p->arg) fprintf(out, " \\fI%s\\fP", p->arg);
        fputs("\n", out);
        roffSentence(out, p->text);
    }
}

static void writeManSettings(FILE* out)
{
    const settingoptions* settings = settingOptions(&MainMenu);
    for (int i = 0; i < settings->count; i++) {
        const settingoption* o = &settings->options[i];
        char range[OPTION_TEXT_SIZE], def[32];
        settingRangeText(o, range, sizeof range);
        settingDefaultText(o, def, sizeof def);
        fputs(".TP\n\\fB\\-\\-", out);
        roffText(out, o->name);
        if (o->unit) {
            fprintf(out, "\\fP \\fI%s\\fP\n", o->unit);
        } else {
            fputs("\\fP, \\fB\\-\\-no\\-", out);
            roffText(out, o->name);
            fputs("\\fP\n", out);
        }
        roffText(out, o->title);
        fputs(": ", out);
        roffText(out, range);
        fprintf(out, " (default %s).\n", def);
    }
}

// Copies the template, replacing the marker lines and the version.
static bool writeMan(FILE* in, FILE* out)
{
    char line[LINE_SIZE];
    while (fgets(line, sizeof line, in)) {
        if (strcmp(line, "@RUN_MODES@\n") == 0) {
            writeManRunModes(out);
        } else if (strcmp(line, "@HOSTED_OPTIONS@\n") == 0) {
            writeManHosted(out);
        } else if (strcmp(line, "@SETTING_OPTIONS@\n") == 0) {
            writeManSettings(out);
        } else if (strcmp(line, "@PROGRAM_OPTIONS@\n") == 0) {
            writeManProgram(out);
        } else if (char* at = strstr(line, "@VERSION@")) {
            fprintf(out, "%.*s%s%s", (int)(at - line), line, MainMenu.pages[0]->name, at + 9);
        } else {
            fputs(line, out);
        }
    }
    return !ferror(in);
}

// ---- main -----------------------------------------------------------------------------------
int main(int argc, char** argv)
{
    bool isXml = argc == 3 && strcmp(argv[1], "xml") == 0;
    bool isMan = argc == 4 && strcmp(argv[1], "man") == 0;
    if (!isXml && !isMan) {
        fprintf(stderr, "usage: %s xml OUTPUT | man TEMPLATE OUTPUT\n", argv[0]);
        return 2;
    }
    FILE* in = nullptr;
    if (isMan && !(in = fopen(argv[2], "r"))) {
        perror(argv[2]);
        return 1;
    }
    const char* path = argv[argc - 1];
    FILE* out = fopen(path, "w");
    if (!out) {
        perror(path);
        return 1;
    }
    bool ok = true;
    if (isXml) ok = writeXml(out);
    else ok = writeMan(in, out);
    if (in) fclose(in);
    if (fclose(out) != 0 || !ok) {
        fprintf(stderr, "%s: cannot write %s\n", argv[0], path);
        remove(path);
        return 1;
    }
    return 0;
}
