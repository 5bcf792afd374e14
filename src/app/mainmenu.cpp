// The program's menu as static data. The labels are also the keys of the
// settings file, and the defaults are what the program runs with when no
// settings file exists.
//
// Index
//   - Page "VYR Version 1.0"
//   - Page "DISPLAY"
//   - Page "ATTRACTOR"
//   - Page "      STATISTICS      "
//   - MainMenu
//   - resetMainMenu
//   - Change callbacks
#include "app/mainmenu.h"

#include "render/frame.h"
#include "render/memframe.h"
#include "app/commands.h"
#include "core/appdata.h"

// Each data record is defined together with a constant copy of its defaults,
// from which resetMainMenu restores it.
#define MENU_DATA(type, name, ...)  \
    type name = __VA_ARGS__;        \
    static const type name##_DEFAULT = __VA_ARGS__;

template <int N>
constexpr int countOf(const char* const (&)[N]) { return N; }

menuitem Separator = {MENU_SEPARATOR, 0, "", nullptr};

// Track-bar labels, each written once: a printf format with the value, and the
// settings-file key (macros, so that they can fill the label buffers too).
#define FTrackBarDesiredFPS_LABEL "Requested frame rate: %d"
#define FTrackBarLuminance_LABEL "Luminance : %.0f%%"
#define FTrackBarSharpness_LABEL "Sharpness : %.0f%%"
#define FTrackBarAttenuation_LABEL "Attenuation : %.1f%%"
#define FTrackBarPeriod_LABEL "Cycle length : %.1f sec"
#define FTrackBarElasticity_LABEL "Cycle elasticity : %.1f"
#define ITrackBarMinDegree_LABEL "Min attractor degree : %d"
#define FTrackBarSpaceFrequency_LABEL "Colormap space frequency : %.2f"
#define FTrackBarTimeFrequency_LABEL "Colormap time frequency : %.2f"
#define ITrackBarMaxDegree_LABEL "Max attractor degree : %d"

// ---- Page "VYR Version 1.0" ------------------------------------------------
const char* const ListBoxResolution_Items[] = {"default", "320x240", "640x480", "800x600", "1024x768", "1280x1024"};
const char* const ListBoxBPP_Items[] = {"default", "16", "24", "32"};
const char* const ListBoxFrequency_Items[] = {"default", "50", "60", "65", "70", "72", "75", "80", "85", "90", "100"};
const char* const ListBoxMotionBlur_Items[] = {
    "Single buffer", "Double buffer", "Triple buffer (2x filter)", "Triple buffer (3x filter)",
    "Triple buffer (4x filter)", "Triple buffer (5x filter)", "Triple buffer (6x filter)"};

MENU_DATA(checkbox, CheckBoxFullScreen_DATA, {0, fullScreenChange})
MENU_DATA(listbox, ListBoxResolution_DATA,
          {countOf(ListBoxResolution_Items), 0, ListBoxResolution_Items, fullScreenParamChange})
MENU_DATA(listbox, ListBoxBPP_DATA, {countOf(ListBoxBPP_Items), 0, ListBoxBPP_Items, fullScreenParamChange})
MENU_DATA(listbox, ListBoxFrequency_DATA,
          {countOf(ListBoxFrequency_Items), 0, ListBoxFrequency_Items, fullScreenParamChange})
MENU_DATA(checkbox, CheckBoxDoubleBuffered_DATA, {1, doubleBufferedChange})
MENU_DATA(checkbox, CheckBoxMultiSample_DATA, {0, multiSampleChange})
MENU_DATA(listbox, ListBoxMotionBlur_DATA, {countOf(ListBoxMotionBlur_Items), 1, ListBoxMotionBlur_Items, motionBlurChange})
MENU_DATA(itrackbar, FTrackBarDesiredFPS_DATA, {5, 120, 40, 1, FTrackBarDesiredFPS_LABEL, desiredFPSChange})
MENU_DATA(checkbox, CheckBoxLimitCPUUsage_DATA, {0, limitCPUUsageChange})
statictext StaticTextReset_DATA = {resetExecute};
statictext StaticTextSave_DATA = {saveExecute};
statictext StaticTextQuit_DATA = {quitExecute};

menuitem CheckBoxFullScreen = {MENU_CHECKBOX, 1, "Fullscreen (F)", &CheckBoxFullScreen_DATA};
menuitem ListBoxResolution = {MENU_LISTBOX, 1, "Fullscreen resolution :", &ListBoxResolution_DATA};
menuitem ListBoxBPP = {MENU_LISTBOX, 1, "Fullscreen color depth (Bpp) :", &ListBoxBPP_DATA};
menuitem ListBoxFrequency = {MENU_LISTBOX, 1, "Fullscreen refresh rate (Hz) :", &ListBoxFrequency_DATA};
menuitem CheckBoxDoubleBuffered = {MENU_CHECKBOX, 1, "Double buffered (D)", &CheckBoxDoubleBuffered_DATA};
menuitem CheckBoxMultiSample = {MENU_CHECKBOX, 1, "Multi sample (M)", &CheckBoxMultiSample_DATA};
menuitem ListBoxMotionBlur = {MENU_LISTBOX, 1, "Motion blur", &ListBoxMotionBlur_DATA};
// An integer track bar despite its name.
menuitem FTrackBarDesiredFPS = {MENU_ITRACKBAR, 1, FTrackBarDesiredFPS_LABEL, &FTrackBarDesiredFPS_DATA};
menuitem CheckBoxLimitCPUUsage = {MENU_CHECKBOX, 1, "Limit CPU usage", &CheckBoxLimitCPUUsage_DATA};
menuitem StaticTextReset = {MENU_STATICTEXT, 1, "Reset settings (R)", &StaticTextReset_DATA};
menuitem StaticTextSave = {MENU_STATICTEXT, 1, "Save settings and exit (S)", &StaticTextSave_DATA};
menuitem StaticTextQuit = {MENU_STATICTEXT, 1, "Cancel (Q)", &StaticTextQuit_DATA};

menuitem* MenuPageVYR_Items[] = {
    &CheckBoxFullScreen, &ListBoxResolution, &ListBoxBPP, &ListBoxFrequency, &Separator,
    &CheckBoxDoubleBuffered, &CheckBoxMultiSample, &ListBoxMotionBlur, &FTrackBarDesiredFPS,
    &CheckBoxLimitCPUUsage, &Separator, &StaticTextReset, &StaticTextSave, &StaticTextQuit};
MENU_DATA(menupage, MenuPageVYR, {"VYR Version 1.0", 14, 0, MenuPageVYR_Items})

// ---- Page "DISPLAY" ---------------------------------------------------------
const char* const ListBoxBlendMethod_Items[] = {"Logarithmic", "Linear", "Maximum"};

MENU_DATA(checkbox, CheckBoxRoundedPoints_DATA, {1, roundedPointsChange})
MENU_DATA(listbox, ListBoxBlendMethod_DATA, {countOf(ListBoxBlendMethod_Items), 0, ListBoxBlendMethod_Items, blendMethodChange})
MENU_DATA(ftrackbar, FTrackBarLuminance_DATA, {0.0f, 200.0f, 100.0f, 1.0f, FTrackBarLuminance_LABEL, luminanceChange})
MENU_DATA(ftrackbar, FTrackBarSharpness_DATA, {0.0f, 200.0f, 100.0f, 1.0f, FTrackBarSharpness_LABEL, sharpnessChange})
MENU_DATA(ftrackbar, FTrackBarAttenuation_DATA, {0.1f, 100.0f, 10.0f, 0.1f, FTrackBarAttenuation_LABEL, attenuationChange})
MENU_DATA(ftrackbar, FTrackBarSpaceFrequency_DATA,
          {0.0f, 50.0f, 1.0f, 0.02f, FTrackBarSpaceFrequency_LABEL, spaceFrequencyChange})
MENU_DATA(ftrackbar, FTrackBarTimeFrequency_DATA,
          {0.0f, 20.0f, 1.0f, 0.02f, FTrackBarTimeFrequency_LABEL, timeFrequencyChange})

menuitem CheckBoxRoundedPoints = {MENU_CHECKBOX, 1, "Rounded points", &CheckBoxRoundedPoints_DATA};
menuitem ListBoxBlendMethod = {MENU_LISTBOX, 1, "Blend color method :", &ListBoxBlendMethod_DATA};
menuitem FTrackBarLuminance = {MENU_FTRACKBAR, 1, FTrackBarLuminance_LABEL, &FTrackBarLuminance_DATA};
menuitem FTrackBarSharpness = {MENU_FTRACKBAR, 1, FTrackBarSharpness_LABEL, &FTrackBarSharpness_DATA};
menuitem FTrackBarAttenuation = {MENU_FTRACKBAR, 1, FTrackBarAttenuation_LABEL, &FTrackBarAttenuation_DATA};
menuitem FTrackBarSpaceFrequency = {MENU_FTRACKBAR, 1, FTrackBarSpaceFrequency_LABEL, &FTrackBarSpaceFrequency_DATA};
menuitem FTrackBarTimeFrequency = {MENU_FTRACKBAR, 1, FTrackBarTimeFrequency_LABEL, &FTrackBarTimeFrequency_DATA};

menuitem* MenuPageDisplay_Items[] = {
    &CheckBoxRoundedPoints, &ListBoxBlendMethod, &Separator, &FTrackBarLuminance, &FTrackBarSharpness,
    &FTrackBarAttenuation, &Separator, &FTrackBarSpaceFrequency, &FTrackBarTimeFrequency};
MENU_DATA(menupage, MenuPageDisplay, {"DISPLAY", 9, 0, MenuPageDisplay_Items})

// ---- Page "ATTRACTOR" -------------------------------------------------------
MENU_DATA(ftrackbar, FTrackBarPeriod_DATA, {0.5f, 20.0f, 5.0f, 0.1f, FTrackBarPeriod_LABEL, periodChange})
MENU_DATA(ftrackbar, FTrackBarElasticity_DATA, {0.1f, 30.0f, 5.0f, 0.1f, FTrackBarElasticity_LABEL, elasticityChange})
MENU_DATA(itrackbar, ITrackBarMinDegree_DATA, {3, 15, 5, 1, ITrackBarMinDegree_LABEL, minDegreeChange})
MENU_DATA(itrackbar, ITrackBarMaxDegree_DATA, {3, 15, 6, 1, ITrackBarMaxDegree_LABEL, maxDegreeChange})

menuitem FTrackBarPeriod = {MENU_FTRACKBAR, 1, FTrackBarPeriod_LABEL, &FTrackBarPeriod_DATA};
menuitem FTrackBarElasticity = {MENU_FTRACKBAR, 1, FTrackBarElasticity_LABEL, &FTrackBarElasticity_DATA};
menuitem ITrackBarMinDegree = {MENU_ITRACKBAR, 1, ITrackBarMinDegree_LABEL, &ITrackBarMinDegree_DATA};
menuitem ITrackBarMaxDegree = {MENU_ITRACKBAR, 1, ITrackBarMaxDegree_LABEL, &ITrackBarMaxDegree_DATA};

menuitem* MenuPageAttractor_Items[] = {&FTrackBarPeriod, &FTrackBarElasticity, &ITrackBarMinDegree, &ITrackBarMaxDegree};
MENU_DATA(menupage, MenuPageAttractor, {"ATTRACTOR", 4, 0, MenuPageAttractor_Items})

// ---- Page "      STATISTICS      " ---------------------------------------
// The labels are the statistics lines of the state record, rewritten live.
statictext StaticTextStatistics_DATA = {nullptr};

menuitem StaticTextFrame = {MENU_STATICTEXT, 0, ApplicationData.frameText, &StaticTextStatistics_DATA};
menuitem StaticTextTime = {MENU_STATICTEXT, 0, ApplicationData.timeText, &StaticTextStatistics_DATA};
menuitem StaticTextFPS = {MENU_STATICTEXT, 0, ApplicationData.fpsText, &StaticTextStatistics_DATA};
menuitem StaticTextRenderer = {MENU_STATICTEXT, 0, Renderer.rendererText, &StaticTextStatistics_DATA};
menuitem StaticTextPresent = {MENU_STATICTEXT, 0, Presentation.text, &StaticTextStatistics_DATA};
menuitem StaticTextPointCount = {MENU_STATICTEXT, 0, ApplicationData.pointCountText, &StaticTextStatistics_DATA};
menuitem StaticTextDensity = {MENU_STATICTEXT, 0, ApplicationData.densityText, &StaticTextStatistics_DATA};
menuitem StaticTextPointSize = {MENU_STATICTEXT, 0, ApplicationData.pointSizeText, &StaticTextStatistics_DATA};
menuitem StaticTextAlpha = {MENU_STATICTEXT, 0, ApplicationData.alphaText, &StaticTextStatistics_DATA};
menuitem StaticTextCycle = {MENU_STATICTEXT, 0, ApplicationData.cycleText, &StaticTextStatistics_DATA};
menuitem StaticTextAttractor1 = {MENU_STATICTEXT, 0, ApplicationData.attractor1Text, &StaticTextStatistics_DATA};
menuitem StaticTextAttractor2 = {MENU_STATICTEXT, 0, ApplicationData.attractor2Text, &StaticTextStatistics_DATA};

menuitem* MenuPageStatistics_Items[] = {
    &StaticTextFrame, &StaticTextTime, &StaticTextFPS, &StaticTextRenderer, &StaticTextPresent, &Separator, &StaticTextPointCount, &StaticTextDensity,
    &StaticTextPointSize, &StaticTextAlpha, &Separator, &StaticTextCycle, &StaticTextAttractor1, &StaticTextAttractor2};
MENU_DATA(menupage, MenuPageStatistics, {"      STATISTICS      ", 14, 0, MenuPageStatistics_Items})

// ---- MainMenu -----------------------------------------------------------------
menupage* MainMenu_Pages[] = {&MenuPageVYR, &MenuPageDisplay, &MenuPageAttractor, &MenuPageStatistics};
MENU_DATA(menu, MainMenu, {0, 4, 0, MainMenu_Pages})

// ---- resetMainMenu ------------------------------------------------------------
void resetMainMenu()
{
    CheckBoxFullScreen_DATA = CheckBoxFullScreen_DATA_DEFAULT;
    ListBoxResolution_DATA = ListBoxResolution_DATA_DEFAULT;
    ListBoxBPP_DATA = ListBoxBPP_DATA_DEFAULT;
    ListBoxFrequency_DATA = ListBoxFrequency_DATA_DEFAULT;
    CheckBoxDoubleBuffered_DATA = CheckBoxDoubleBuffered_DATA_DEFAULT;
    CheckBoxMultiSample_DATA = CheckBoxMultiSample_DATA_DEFAULT;
    ListBoxMotionBlur_DATA = ListBoxMotionBlur_DATA_DEFAULT;
    FTrackBarDesiredFPS_DATA = FTrackBarDesiredFPS_DATA_DEFAULT;
    CheckBoxLimitCPUUsage_DATA = CheckBoxLimitCPUUsage_DATA_DEFAULT;
    MenuPageVYR = MenuPageVYR_DEFAULT;
    CheckBoxRoundedPoints_DATA = CheckBoxRoundedPoints_DATA_DEFAULT;
    ListBoxBlendMethod_DATA = ListBoxBlendMethod_DATA_DEFAULT;
    FTrackBarLuminance_DATA = FTrackBarLuminance_DATA_DEFAULT;
    FTrackBarSharpness_DATA = FTrackBarSharpness_DATA_DEFAULT;
    FTrackBarAttenuation_DATA = FTrackBarAttenuation_DATA_DEFAULT;
    FTrackBarSpaceFrequency_DATA = FTrackBarSpaceFrequency_DATA_DEFAULT;
    FTrackBarTimeFrequency_DATA = FTrackBarTimeFrequency_DATA_DEFAULT;
    MenuPageDisplay = MenuPageDisplay_DEFAULT;
    FTrackBarPeriod_DATA = FTrackBarPeriod_DATA_DEFAULT;
    FTrackBarElasticity_DATA = FTrackBarElasticity_DATA_DEFAULT;
    ITrackBarMinDegree_DATA = ITrackBarMinDegree_DATA_DEFAULT;
    ITrackBarMaxDegree_DATA = ITrackBarMaxDegree_DATA_DEFAULT;
    MenuPageAttractor = MenuPageAttractor_DEFAULT;
    MenuPageStatistics = MenuPageStatistics_DEFAULT;
    MainMenu = MainMenu_DEFAULT;
}

// ---- Change callbacks ----
// Each records one menu setting in the state record, converting units where
// the menu shows percent or seconds. They only record requests; the window
// code and the engine act on them at the next step.
void fullScreenChange(int value)
{
    ApplicationData.fullScreen = ApplicationData.runMode == MODE_SCREENSAVER ? 1 : value;
}

void fullScreenParamChange(int)
{
    // A new resolution, depth or rate only matters while full screen is in use.
    if (ApplicationData.activeFullScreen) ApplicationData.fullScreenParamChanged = 1;
}

void doubleBufferedChange(int value) { ApplicationData.doubleBuffered = value; }
void multiSampleChange(int value) { ApplicationData.multiSample = value; }
void motionBlurChange(int selected) { ApplicationData.motionBlur = selected; }
void desiredFPSChange(int value) { ApplicationData.desiredFPS = (float)value; }
void limitCPUUsageChange(int value) { ApplicationData.limitCPUUsage = value; }
void roundedPointsChange(int value) { ApplicationData.roundedPoints = value; }
void blendMethodChange(int selected) { ApplicationData.blendMethod = selected; }

// Percentages: the float times the double 0.01, rounded once.
void luminanceChange(float value) { ApplicationData.luminance = (float)(value * 0.01); }
void sharpnessChange(float value) { ApplicationData.sharpness = (float)(value * 0.01); }
void attenuationChange(float value) { ApplicationData.attenuation = (float)(value * 0.01); }

void spaceFrequencyChange(float value) { ApplicationData.spaceFrequency = value; }
void timeFrequencyChange(float value) { ApplicationData.timeFrequency = value; }

// Seconds to milliseconds, truncated: the float nearest 0.7 gives 699.
void periodChange(float value) { ApplicationData.period = (int)((double)value * 1000.0); }

void elasticityChange(float value) { ApplicationData.elasticity = value; }

// The two degree limits refuse a value that would cross the other one.
void minDegreeChange(int value)
{
    if (value > ApplicationData.maxDegree) {
        ITrackBarMinDegree_DATA.value = ApplicationData.maxDegree;
        return;
    }
    ApplicationData.minDegree = value;
}

void maxDegreeChange(int value)
{
    if (value < ApplicationData.minDegree) {
        // A settings file whose minimum exceeds its maximum leaves the start-up
        // value (above any valid degree) in force; the maximum then follows the
        // minimum, so both stay within the range the attractors support.
        if (ApplicationData.maxDegree > ITrackBarMaxDegree_DATA.max) ApplicationData.maxDegree = ApplicationData.minDegree;
        ITrackBarMaxDegree_DATA.value = ApplicationData.maxDegree;
        return;
    }
    ApplicationData.maxDegree = value;
}

void maxDegreeGivenAlone()
{
    if (ITrackBarMinDegree_DATA.value > ITrackBarMaxDegree_DATA.value) {
        ITrackBarMinDegree_DATA.value = ITrackBarMaxDegree_DATA.value;
    }
}
