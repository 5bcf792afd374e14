// Command-line setting options: the table derived from the menu rows, values
// against the settings file's clamping, the arguments that are skipped,
// --help and --version, and precedence over VYR.ini with the degree rule.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "app/mainmenu.h"
#include "menu/settings.h"
#include "app/cmdline.h"
#include "app/startup.h"
#include "app/usage.h"
#include "unit/cmdline_seam.h"
#include "core/appdata.h"
#include "render/frame.h"
#include "unit/testfiles.h"

namespace {

using args = std::vector<std::string>;

double valueOf(const menuitem* item)
{
    switch (item->type) {
    case MENU_CHECKBOX: return static_cast<checkbox*>(item->data)->value;
    case MENU_LISTBOX: return static_cast<listbox*>(item->data)->selected;
    case MENU_ITRACKBAR: return static_cast<itrackbar*>(item->data)->value;
    default: return static_cast<ftrackbar*>(item->data)->value;
    }
}

// argv for a, after the program name; a's strings must outlive it.
std::vector<char*> argvOf(args& a)
{
    std::vector<char*> argv = {const_cast<char*>("vyr")};
    for (std::string& s : a) argv.push_back(s.data());
    return argv;
}

// Runs applySettingOptions on a fresh menu; returns what it wrote on stderr.
std::string apply(args a)
{
    resetMainMenu();
    std::vector<char*> argv = argvOf(a);
    testing::internal::CaptureStderr();
    applySettingOptions(&MainMenu, (int)argv.size(), argv.data());
    return testing::internal::GetCapturedStderr();
}

// The row's value after a settings-file line "label=text" on a fresh menu.
double loadedValue(const menuitem* item, const std::string& text)
{
    resetMainMenu();
    std::string page;
    for (int p = 0; p < MainMenu.pageCount; p++) {
        for (int i = 0; i < MainMenu.pages[p]->itemCount; i++) {
            if (MainMenu.pages[p]->items[i] == item) page = MainMenu.pages[p]->name;
        }
    }
    FILE* stream = textStream("[" + page + "]\n" + item->name + "=" + text + "\n");
    menuLoad(&MainMenu, stream);
    fclose(stream);
    return valueOf(item);
}

int lineCount(const std::string& s)
{
    int n = 0;
    for (char c : s) n += c == '\n';
    return n;
}

class Options : public testing::Test {
protected:
    const settingoptions* Table = settingOptions(&MainMenu);
    void TearDown() override
    {
        resetMainMenu();
        ApplicationData = INITIAL_APPLICATION_DATA;
    }
};

}  // namespace

// One option per value row, named by the label's words in order, unique; the
// units follow the labels and check boxes have none.
TEST_F(Options, OneOptionPerValueRowNamedAfterItsLabel)
{
    int rows = 0;
    for (int p = 0; p < MainMenu.pageCount; p++) {
        for (int i = 0; i < MainMenu.pages[p]->itemCount; i++) {
            int t = MainMenu.pages[p]->items[i]->type;
            rows += t == MENU_CHECKBOX || t == MENU_LISTBOX || t == MENU_ITRACKBAR || t == MENU_FTRACKBAR;
        }
    }
    ASSERT_EQ(Table->count, rows);
    EXPECT_EQ(rows, 20);
    for (int i = 0; i < Table->count; i++) {
        const settingoption* o = &Table->options[i];
        SCOPED_TRACE(o->name);
        EXPECT_EQ(findSettingOption(&MainMenu, o->name), o);
        std::string label, name = std::string(o->name) + "-";
        for (const char* c = o->item->name; *c; c++) label += (char)tolower((unsigned char)*c);
        size_t at = 0;
        for (size_t start = 0, dash; (dash = name.find('-', start)) != std::string::npos; start = dash + 1) {
            ASSERT_GT(dash, start);
            at = label.find(name.substr(start, dash - start), at);
            ASSERT_NE(at, std::string::npos) << name.substr(start, dash - start);
        }
        EXPECT_EQ(o->unit == nullptr, o->item->type == MENU_CHECKBOX);
    }
    for (auto [name, unit] : {std::pair{"motion-blur", "N"}, {"requested-frame-rate", "N"}, {"luminance", "PCT"},
                              {"cycle-length", "SEC"}, {"min-attractor-degree", "N"}, {"fullscreen", ""}}) {
        const settingoption* o = findSettingOption(&MainMenu, name);
        ASSERT_NE(o, nullptr) << name;
        EXPECT_STREQ(o->unit ? o->unit : "", unit) << name;
    }
}

// Every option, with values inside, below and above its range and with
// garbage: the command line assigns exactly what a VYR.ini line would; a
// fraction for an integer row and a bad value are refused with one line
// naming the option (and the --help hint), the row left as it was.
TEST_F(Options, ValuesAreClampedAsInTheSettingsFile)
{
    for (int i = 0; i < Table->count; i++) {
        const settingoption o = Table->options[i];
        SCOPED_TRACE(o.name);
        const std::string flag = std::string("--") + o.name, no = std::string("--no-") + o.name;
        const double untouched = loadedValue(o.item, "nothing");
        if (!o.unit) {
            for (auto [a, value] : {std::pair<args, double>{{flag}, 1}, {{no}, 0}, {{no, flag}, 1}}) {
                EXPECT_EQ(apply(a), "");
                EXPECT_EQ(valueOf(o.item), value);  // the last one wins
            }
            std::string err = apply({flag + "=0"});
            EXPECT_EQ(lineCount(err), 1);
            EXPECT_NE(err.find(flag), std::string::npos);
            continue;
        }
        for (std::string text : {"0", "1", "2", "-3", "5", "12.5", "1e9", "-1e9", "99999999999", "0.25", "+4"}) {
            SCOPED_TRACE(text);
            const double expected = loadedValue(o.item, text);
            std::string err = apply({flag, text});
            if (o.item->type == MENU_FTRACKBAR || text.find_first_of(".e") == std::string::npos) {
                EXPECT_EQ(err, "");
                EXPECT_EQ(valueOf(o.item), expected);
                EXPECT_EQ(apply({flag + "=" + text}), "");
                EXPECT_EQ(valueOf(o.item), expected);
            } else {
                EXPECT_EQ(lineCount(err), 1);
                EXPECT_EQ(valueOf(o.item), untouched);
            }
        }
        for (args bad : {args{flag, "abc"}, {flag, "7x"}, {flag, "nan"}, {flag + "="}, {flag}, {flag, "--fullscreen"}}) {
            SCOPED_TRACE(bad.back());
            std::string err = apply(bad);
            EXPECT_EQ(lineCount(err), 1) << err;
            EXPECT_NE(err.find(flag), std::string::npos) << err;
            EXPECT_NE(err.find("--help"), std::string::npos) << err;
            EXPECT_EQ(valueOf(o.item), untouched);
        }
    }
}

// Unknown options are named and skipped; the arguments that are not setting
// options pass without a word, the hosted window id included.
TEST_F(Options, OtherArgumentsAreSkipped)
{
    struct { args a; int complaints; const char* named; } cases[] = {
        {{"--frobnicate"}, 1, "--frobnicate"},
        {{"--no-luminance"}, 1, "--no-luminance"},
        {{"--"}, 1, "unknown option --;"},
        {{"--LUMINANCE", "7"}, 1, "--LUMINANCE"},
        {{"/c", "-c", "c:123", "/s", "1234"}, 0, ""},
        {{"--root", "--window", "-root", "-window"}, 0, ""},
        {{"--window-id", "0x400EE5"}, 0, ""},
        {{"-window-id", "4194305"}, 0, ""},
        {{"--window-id", "--luminance"}, 0, ""},  // the id is taken whatever it is
        {{"--cycle-length", "-root"}, 1, "--cycle-length needs a value"},
        {{"--help", "--version"}, 0, ""},
        {{"--seed", "4294967295"}, 0, ""},
        {{"--seed", "-1"}, 1, "--seed needs a whole number"},
        {{"--seed", "4294967296"}, 1, "--seed needs a whole number"},
        {{"--renderer", "memory"}, 0, ""},
        {{"--renderer", "GL"}, 1, "--renderer needs auto, gl or memory"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.a.front());
        c.a.insert(c.a.end(), {"--luminance", "50"});
        std::string err = apply(c.a);
        EXPECT_EQ(lineCount(err), c.complaints) << err;
        EXPECT_NE(err.find(c.named), std::string::npos) << err;
        EXPECT_EQ(FTrackBarLuminance_DATA.value, 50.0f);
    }
}

// The drawing way the command line asks for; auto when it asks for none or for no known way.
TEST_F(Options, RendererChoice)
{
    struct { args a; int renderer; } cases[] = {
        {{}, RENDERER_AUTO},
        {{"--renderer", "gl"}, RENDERER_GL},
        {{"--renderer", "memory"}, RENDERER_MEMORY},
        {{"--renderer", "memory", "--renderer", "auto"}, RENDERER_AUTO},
        {{"--renderer", "soft"}, RENDERER_AUTO},
    };
    static commandline c;
    for (auto& k : cases) {
        std::vector<char*> argv = argvOf(k.a);
        readCommandLine(&MainMenu, (int)argv.size(), argv.data(), nullptr, &c);
        EXPECT_EQ(c.renderer, k.renderer) << k.a.size();
    }
}

// --help lists every option with its range and default; --version the
// version; whichever comes first decides, and without them nothing is shown.
TEST_F(Options, HelpAndVersion)
{
    args help = {"/p", "--help", "--version"}, version = {"--version", "--help"}, none = {"/c", "--luminance", "5"};
    std::vector<char*> argv = argvOf(help);
    testing::internal::CaptureStdout();
    EXPECT_EQ(infoOption(&MainMenu, (int)argv.size(), argv.data()), 1);
    std::string usage = testing::internal::GetCapturedStdout(), flat;  // flat: without breaks and indentation
    for (size_t k = 0; k < usage.size(); k++) {
        if (usage[k] != '\n') flat += usage[k];
        else for (flat += ' '; k + 1 < usage.size() && usage[k + 1] == ' ';) k++;
    }
    for (int i = 0; i < Table->count; i++) {
        const settingoption* o = &Table->options[i];
        SCOPED_TRACE(o->name);
        char range[OPTION_TEXT_SIZE], def[32];
        settingRangeText(o, range, sizeof range);
        settingDefaultText(o, def, sizeof def);
        std::string flag = std::string("--") + o->name;
        EXPECT_NE(flat.find(o->unit ? flag + " " + o->unit : flag + ", --no-" + o->name), std::string::npos);
        EXPECT_NE(flat.find(std::string(o->title) + ": " + range + " (default " + def + ")"), std::string::npos);
    }
    for (int i = 0; NATIVE_USAGE.hostedRuns && i < HOSTED_OPTION_COUNT; i++) {  // X11 hosts' arguments
        EXPECT_NE(usage.find(HOSTED_OPTIONS[i].name), std::string::npos);
    }

    argv = argvOf(version);
    testing::internal::CaptureStdout();
    EXPECT_EQ(infoOption(&MainMenu, (int)argv.size(), argv.data()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string(MenuPageVYR.name) + "\n");
    argv = argvOf(none);
    EXPECT_EQ(infoOption(&MainMenu, (int)argv.size(), argv.data()), 0);
}

// The usage text as each system runs the program: its name, its switches
// with the windows they take, its settings rule, and the X11 hosts'
// arguments only where there are such hosts; the native one is the build's.
TEST_F(Options, UsageTextPerSystem)
{
    struct { const usagesystem* system; std::vector<std::string> shown, absent; } cases[] = {
        {&USAGE_LINUX,
         {"Usage: vyr [SWITCH]", "\n  /c, -c, c       configure", "\n  /p, -p, p       preview: return at once",
          "\n  anything else   screen saver", "\n  --root ", "\n  --window-id ID ", "XSCREENSAVER_WINDOW", "$XDG_CONFIG_HOME/vyr/VYR.ini"},
         {"vyr.scr", "HWND"}},
        {&USAGE_WINDOWS,
         {"Usage: vyr.scr [SWITCH]", "\n  /s              screen saver", "\n  /c, /c:HWND     configure",
          "\n  /p HWND, /p:HWND\n                  preview: draw inside the window HWND", "%APPDATA%\\VYR\\VYR.ini"},
         {"Usage: vyr ", "--root", "--window", "XSCREENSAVER_WINDOW", "return at once", "$HOME", "anything else"}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.system->program);
        testing::internal::CaptureStdout();
        printUsage(&MainMenu, stdout, c.system);
        std::string usage = testing::internal::GetCapturedStdout();
        for (const std::string& s : c.shown) EXPECT_NE(usage.find(s), std::string::npos) << s;
        for (const std::string& s : c.absent) EXPECT_EQ(usage.find(s), std::string::npos) << s;
        for (const char* s : {"\n  --luminance PCT\n", "\n  --seed N ", "\n  --help "}) {
            EXPECT_NE(usage.find(s), std::string::npos) << s;  // the same settings and program options
        }
    }
#ifdef _WIN32
    EXPECT_EQ(&NATIVE_USAGE, &USAGE_WINDOWS);
#else
    EXPECT_EQ(&NATIVE_USAGE, &USAGE_LINUX);
#endif
}

// Through start-up's settings step: the command line wins over VYR.ini, the
// rows it does not name keep the file's values, and the degree limits end
// ordered within 3..15 whichever source gives which.
TEST_F(Options, CommandLineWinsOverTheSettingsFileAndDegreesStayOrdered)
{
    scopedTempFolder folder("vyr-options");
    ASSERT_TRUE(folder.ok());
    struct { int fileMin, fileMax; args a; int min, max; } cases[] = {
        {5, 6, {}, 5, 6},
        {3, 15, {}, 3, 15},   // loaded in order: taken as they stand
        {10, 7, {}, 10, 10},  // a loaded minimum above the maximum: the maximum follows, within range
        {5, 6, {"--max-attractor-degree", "3"}, 3, 3},  // a maximum alone wins over the file's minimum
        {10, 12, {"--max-attractor-degree", "4"}, 4, 4},
        {5, 6, {"--min-attractor-degree", "12"}, 12, 12},  // the maximum follows a larger minimum
        {5, 6, {"--min-attractor-degree", "10", "--max-attractor-degree", "4"}, 10, 10},
        {12, 14, {"--min-attractor-degree", "2"}, 3, 14},
        {5, 6, {"--max-attractor-degree=99"}, 5, 15},
        {9, 4, {"--max-attractor-degree", "7"}, 7, 7},
        {9, 4, {"--min-attractor-degree", "3"}, 3, 4},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fileMin << "/" << c.fileMax << " " << c.a.size());
        FILE* f = fopen("VYR.ini", "w");
        ASSERT_NE(f, nullptr);
        fprintf(f, "[VYR Version 1.0]\nMotion blur=4\n[DISPLAY]\nLuminance : %%.0f%%%%=30\n"
                   "[ATTRACTOR]\nMin attractor degree : %%d=%d\nMax attractor degree : %%d=%d\n",
                c.fileMin, c.fileMax);
        fclose(f);
        resetMainMenu();
        ApplicationData = INITIAL_APPLICATION_DATA;
        ApplicationData.currentMenu = &MainMenu;
        c.a.insert(c.a.end(), {"--luminance", "150"});
        std::vector<char*> argv = argvOf(c.a);
        readIniFile((int)argv.size(), argv.data());
        EXPECT_EQ(ApplicationData.minDegree, c.min);
        EXPECT_EQ(ApplicationData.maxDegree, c.max);
        EXPECT_EQ(ITrackBarMinDegree_DATA.value, c.min);
        EXPECT_EQ(ITrackBarMaxDegree_DATA.value, c.max);
        EXPECT_FLOAT_EQ(ApplicationData.luminance, 1.5f);
        EXPECT_EQ(ApplicationData.motionBlur, 4);
    }
}
