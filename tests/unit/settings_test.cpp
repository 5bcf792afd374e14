// The settings file: menuSave's exact output and menuLoad's rules, including
// hostile input (long lines, NUL bytes, garbage, huge numbers, read errors).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/mainmenu.h"
#include "menu/settings.h"
#include "unit/testfiles.h"

namespace {

const char* const DEFAULT_FILE =
    "[VYR Version 1.0]\n"
    "Fullscreen (F)=0\n"
    "Fullscreen resolution :=0\n"
    "Fullscreen color depth (Bpp) :=0\n"
    "Fullscreen refresh rate (Hz) :=0\n"
    "Double buffered (D)=1\n"
    "Multi sample (M)=0\n"
    "Motion blur=1\n"
    "Requested frame rate: %d=40\n"
    "Limit CPU usage=0\n"
    "\n"
    "[DISPLAY]\n"
    "Rounded points=1\n"
    "Blend color method :=0\n"
    "Luminance : %.0f%%=100.000000\n"
    "Sharpness : %.0f%%=100.000000\n"
    "Attenuation : %.1f%%=10.000000\n"
    "Colormap space frequency : %.2f=1.000000\n"
    "Colormap time frequency : %.2f=1.000000\n"
    "\n"
    "[ATTRACTOR]\n"
    "Cycle length : %.1f sec=5.000000\n"
    "Cycle elasticity : %.1f=5.000000\n"
    "Min attractor degree : %d=5\n"
    "Max attractor degree : %d=6\n"
    "\n"
    "[      STATISTICS      ]\n"
    "\n";

std::string saved()
{
    FILE* f = textStream("");
    menuSave(&MainMenu, f);
    std::string text = streamText(f);
    fclose(f);
    return text;
}

void load(const std::string& text)
{
    FILE* f = textStream(text);
    ASSERT_NE(f, nullptr);
    menuLoad(&MainMenu, f);
    fclose(f);
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override { resetMainMenu(); }
    void TearDown() override { resetMainMenu(); }
};

TEST_F(Settings, DefaultMenuSavesTheDefaultFileByteForByte) { EXPECT_EQ(saved(), DEFAULT_FILE); }

TEST_F(Settings, LoadingTheDefaultFileChangesNothing)
{
    load(DEFAULT_FILE);
    EXPECT_EQ(saved(), DEFAULT_FILE);
    load("");
    EXPECT_EQ(saved(), DEFAULT_FILE);
}

TEST_F(Settings, LoadDoesNotTouchNavigationOrVisibility)
{
    MainMenu.visible = 1;
    MainMenu.currentPage = 2;
    MenuPageVYR.currentItem = 3;
    load(DEFAULT_FILE);
    EXPECT_EQ(MainMenu.visible, 1);
    EXPECT_EQ(MainMenu.currentPage, 2);
    EXPECT_EQ(MenuPageVYR.currentItem, 3);
}

// One file's text loaded into the default menu, and the values it leaves.
struct loadcase {
    const char* what;
    const char* text;
    std::vector<std::pair<const menuitem*, double>> expect;  // row, value (floats as floats)
};

const loadcase LOAD_CASES[] = {
    {"out of range values are clamped",
     "[VYR Version 1.0]\nRequested frame rate: %d=500\nMotion blur=9\nFullscreen (F)=5\n"
     "[ATTRACTOR]\nCycle length : %.1f sec=0\nMin attractor degree : %d=-7\n",
     {{&FTrackBarDesiredFPS, 120}, {&ListBoxMotionBlur, 6}, {&CheckBoxFullScreen, 1}, {&FTrackBarPeriod, 0.5f},
      {&ITrackBarMinDegree, 3}}},
    {"a list below its first choice", "[VYR Version 1.0]\nMotion blur=-3\n", {{&ListBoxMotionBlur, 0}}},
    {"values that are not numbers keep the current value",
     "[DISPLAY]\nLuminance : %.0f%%=bright\nRounded points=yes\nBlend color method :=x2\n"
     "[ATTRACTOR]\nMax attractor degree : %d=-\n",
     {{&FTrackBarLuminance, 100.0f}, {&CheckBoxRoundedPoints, 1}, {&ListBoxBlendMethod, 0}, {&ITrackBarMaxDegree, 6}}},
    {"numbers stop at the first other character",
     "[VYR Version 1.0]\nMotion blur= 1.5\nRequested frame rate: %d=+60fps\n[DISPLAY]\nSharpness : %.0f%%=2.5e1x\n",
     {{&ListBoxMotionBlur, 1}, {&FTrackBarDesiredFPS, 60}, {&FTrackBarSharpness, 25.0f}}},
    {"a key before any section", "Motion blur=2\n", {{&ListBoxMotionBlur, 1}}},
    {"no such row on that page", "[DISPLAY]\nMotion blur=2\n", {{&ListBoxMotionBlur, 1}}},
    {"section names are case-sensitive", "[display]\nRounded points=0\n", {{&CheckBoxRoundedPoints, 1}}},
    {"the blank belongs to the key", "[VYR Version 1.0]\nMotion blur =3\n", {{&ListBoxMotionBlur, 1}}},
    {"the right section", "[VYR Version 1.0]\nMotion blur=2\n", {{&ListBoxMotionBlur, 2}}},
    {"comments, indentation and blank lines",
     "\n   \t\n[DISPLAY]\n; Rounded points=0\n   ;Blend color method :=2\n\n    \tSharpness : %.0f%%=   150\n",
     {{&CheckBoxRoundedPoints, 1}, {&ListBoxBlendMethod, 0}, {&FTrackBarSharpness, 150.0f}}},
    {"an indented key", "[DISPLAY]\n   Rounded points=0\n", {{&CheckBoxRoundedPoints, 0}}},
    {"carriage returns and text after the bracket",
     "[ATTRACTOR]  trailing words\r\nMin attractor degree : %d=7\r\n"
     "Cycle elasticity : %.1f=2.5\r\n[DISPLAY]\r\nRounded points=0\r\n",
     {{&ITrackBarMinDegree, 7}, {&FTrackBarElasticity, 2.5f}, {&CheckBoxRoundedPoints, 0}}},
    {"later lines win and a title may come twice",
     "[ATTRACTOR]\nMin attractor degree : %d=7\n[DISPLAY]\nRounded points=0\n"
     "[ATTRACTOR]\nMin attractor degree : %d=8\nMin attractor degree : %d=9\n",
     {{&ITrackBarMinDegree, 9}, {&CheckBoxRoundedPoints, 0}}},
    // The header runs over the next line to the "]" of the third: no page has
    // that name, so the value lines are ignored until the next proper header.
    {"a missing bracket swallows text up to the next one",
     "[DISPLAY\nRounded points=0\nx]\nBlend color method :=2\n[DISPLAY]\nSharpness : %.0f%%=50\n",
     {{&CheckBoxRoundedPoints, 1}, {&ListBoxBlendMethod, 0}, {&FTrackBarSharpness, 50.0f}}},
    {"empty brackets name no section", "[]\nLuminance : %.0f%%=5\n", {{&FTrackBarLuminance, 100.0f}}},
    // Hostile files.
    {"huge integers saturate, then clamp",
     "[VYR Version 1.0]\nRequested frame rate: %d=99999999999999999999999999\n"
     "Motion blur=-99999999999999999999999\nFullscreen (F)=4294967296\n",
     {{&FTrackBarDesiredFPS, 120}, {&ListBoxMotionBlur, 0}, {&CheckBoxFullScreen, 1}}},  // not truncated to 0
    {"not a number never becomes a setting, and infinity clamps",
     "[DISPLAY]\nLuminance : %.0f%%=nan\nSharpness : %.0f%%=inf\nAttenuation : %.1f%%=-infinity\n"
     "Colormap space frequency : %.2f=1e999\nColormap time frequency : %.2f=-NAN(123)\n",
     {{&FTrackBarLuminance, 100.0f}, {&FTrackBarSharpness, 200.0f}, {&FTrackBarAttenuation, 0.1f},
      {&FTrackBarSpaceFrequency, 50.0f}, {&FTrackBarTimeFrequency, 1.0f}}},
};

TEST_F(Settings, LoadedValues)
{
    for (const loadcase& c : LOAD_CASES) {
        SCOPED_TRACE(c.what);
        resetMainMenu();
        load(c.text);
        for (auto& [item, value] : c.expect) EXPECT_EQ(menuRowValue(item), value) << item->name;
    }
}

TEST_F(Settings, AFileEndingInsideAHeaderChangesNothing)
{
    load("[DISPLAY");
    EXPECT_EQ(saved(), DEFAULT_FILE);
}

TEST_F(Settings, MinusZeroIsNeverShownOrSavedWithItsSign)
{
    load("[DISPLAY]\nLuminance : %.0f%%=-0\nColormap time frequency : %.2f=-0.0e5\n");
    EXPECT_FALSE(std::signbit(FTrackBarLuminance_DATA.value));
    EXPECT_FALSE(std::signbit(FTrackBarTimeFrequency_DATA.value));
}

// Hand-edited files: every line-end style, alone or mixed, with or without a
// UTF-8 byte-order mark, gives the same values. A mark anywhere but at the
// very start, or only part of one, is no mark.
TEST_F(Settings, LineEndsOfEveryStyleAndAByteOrderMark)
{
    const std::string lines[] = {"; hand-edited", "[DISPLAY]", "Rounded points=0", "Blend color method :=2",
                                 "[ATTRACTOR]", "Min attractor degree : %d=7", "Cycle elasticity : %.1f=2.5"};
    struct style {
        const char* what;
        const char* bom;
        const char* ends[3];  // used in turn
    };
    const style styles[] = {
        {"LF", "", {"\n", "\n", "\n"}},
        {"CRLF", "", {"\r\n", "\r\n", "\r\n"}},
        {"CR", "", {"\r", "\r", "\r"}},
        {"mixed", "", {"\r", "\n", "\r\n"}},
        {"CR after a mark", "\xEF\xBB\xBF", {"\r", "\r", "\r"}},
        {"LF after a mark", "\xEF\xBB\xBF", {"\n", "\n", "\n"}},
    };
    for (const style& st : styles) {
        resetMainMenu();
        std::string text = st.bom;
        for (size_t i = 0; i < std::size(lines); i++) text += lines[i] + st.ends[i % 3];
        load(text);
        EXPECT_EQ(CheckBoxRoundedPoints_DATA.value, 0) << st.what;
        EXPECT_EQ(ListBoxBlendMethod_DATA.selected, 2) << st.what;
        EXPECT_EQ(ITrackBarMinDegree_DATA.value, 7) << st.what;
        EXPECT_EQ(FTrackBarElasticity_DATA.value, 2.5f) << st.what;
    }
    // Not a mark: its first line is not a header and is skipped.
    for (const char* start : {"\xEF", "\xEF\xBB", "\xEF\xBB\xBE", "\n\xEF\xBB\xBF", "\xBB\xBF"}) {
        resetMainMenu();
        load(std::string(start) + "[DISPLAY]\rRounded points=0\r[DISPLAY]\nBlend color method :=2\n");
        EXPECT_EQ(CheckBoxRoundedPoints_DATA.value, 1) << start;
        EXPECT_EQ(ListBoxBlendMethod_DATA.selected, 2) << start;
    }
}

TEST_F(Settings, SavedFloatReadsBackAsTheNearestFloat)
{
    FTrackBarPeriod_DATA.value = 5.0f;
    for (int i = 0; i < 3; i++) FTrackBarPeriod_DATA.value += 0.1f;  // 5.3 with float drift
    ListBoxResolution_DATA.selected = 4;
    ITrackBarMaxDegree_DATA.value = 15;
    CheckBoxMultiSample_DATA.value = 1;
    std::string text = saved();
    EXPECT_NE(text.find("Cycle length : %.1f sec=5.300000\n"), std::string::npos);
    resetMainMenu();
    load(text);
    EXPECT_EQ(FTrackBarPeriod_DATA.value, 5.3f);
    EXPECT_EQ(ListBoxResolution_DATA.selected, 4);
    EXPECT_EQ(ITrackBarMaxDegree_DATA.value, 15);
    EXPECT_EQ(CheckBoxMultiSample_DATA.value, 1);
    EXPECT_EQ(saved(), text);
}

// ---- Hostile files ----

TEST_F(Settings, LongLinesAreCutAndSkippedSafely)
{
    std::string longKey(100000, 'k');
    std::string longValue(100000, '7');
    std::string longSection(5000, 's');
    std::string text = "[DISPLAY]\n" + longKey + "=1\nRounded points=" + longValue + "\n"
                       "[" + longSection + "]\nBlend color method :=2\n"
                       "[DISPLAY]\nBlend color method :=" + std::string(300, ' ') + "2\n"
                       "[ATTRACTOR]\n; " + longValue + "\nMax attractor degree : %d=9\n";
    load(text);
    EXPECT_EQ(CheckBoxRoundedPoints_DATA.value, 1);  // 255 sevens: nonzero
    EXPECT_EQ(ListBoxBlendMethod_DATA.selected, 0);  // value cut after 255 blanks
    EXPECT_EQ(ITrackBarMaxDegree_DATA.value, 9);
}

TEST_F(Settings, NulBytesMatchNothingAndDoNotStopTheReading)
{
    std::string text = "[DISPLAY]\nRounded points";
    text += '\0';
    text += "junk=0\n[DISPLAY";
    text += '\0';
    text += "]\nBlend color method :=2\n[ATTRACTOR]\nMin attractor degree : %d=8";
    text += '\0';
    text += "\nMax attractor degree : %d=10\n";
    load(text);
    EXPECT_EQ(CheckBoxRoundedPoints_DATA.value, 1);
    EXPECT_EQ(ListBoxBlendMethod_DATA.selected, 0);
    EXPECT_EQ(ITrackBarMinDegree_DATA.value, 8);  // the number stops at the NUL
    EXPECT_EQ(ITrackBarMaxDegree_DATA.value, 10);
}

TEST_F(Settings, BinaryGarbageKeepsEveryInvariant)
{
    srand(12345);
    for (int round = 0; round < 200; round++) {
        std::string text = round % 2 ? "[DISPLAY]\n" : "[VYR Version 1.0]\n";
        int length = rand() % 2000;
        for (int i = 0; i < length; i++) {
            int r = rand() % 10;
            text += r == 0 ? '\n' : r == 1 ? '=' : r == 2 ? '[' : r == 3 ? ']' : (char)(rand() % 256);
        }
        load(text);
        EXPECT_TRUE(CheckBoxRoundedPoints_DATA.value == 0 || CheckBoxRoundedPoints_DATA.value == 1);
        EXPECT_GE(ListBoxMotionBlur_DATA.selected, 0);
        EXPECT_LT(ListBoxMotionBlur_DATA.selected, 7);
        EXPECT_GE(FTrackBarDesiredFPS_DATA.value, 5);
        EXPECT_LE(FTrackBarDesiredFPS_DATA.value, 120);
    }
}

TEST_F(Settings, AFolderOpensButReadsNothing)
{
    std::filesystem::path dir = makeTempFolder("vyr-settings");
    ASSERT_FALSE(dir.empty());
    FILE* f = fopen(dir.string().c_str(), "r");
    if (f) {  // glibc opens a folder for reading; the first read fails
        menuLoad(&MainMenu, f);
        fclose(f);
    }
    std::error_code e;
    std::filesystem::remove(dir, e);
    EXPECT_EQ(saved(), DEFAULT_FILE);
}

}  // namespace
