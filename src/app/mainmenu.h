// The program's four-page menu: every row, label, default, range and callback.
#pragma once

#include "menu/menu.h"

extern menuitem Separator;

// Page "VYR Version 1.0"
extern checkbox CheckBoxFullScreen_DATA;
extern listbox ListBoxResolution_DATA;
extern listbox ListBoxBPP_DATA;
extern listbox ListBoxFrequency_DATA;
extern checkbox CheckBoxDoubleBuffered_DATA;
extern checkbox CheckBoxMultiSample_DATA;
extern listbox ListBoxMotionBlur_DATA;
extern itrackbar FTrackBarDesiredFPS_DATA;
extern checkbox CheckBoxLimitCPUUsage_DATA;
extern statictext StaticTextReset_DATA;
extern statictext StaticTextSave_DATA;
extern statictext StaticTextQuit_DATA;
extern menuitem CheckBoxFullScreen, ListBoxResolution, ListBoxBPP, ListBoxFrequency;
extern menuitem CheckBoxDoubleBuffered, CheckBoxMultiSample, ListBoxMotionBlur;
extern menuitem FTrackBarDesiredFPS, CheckBoxLimitCPUUsage;
extern menuitem StaticTextReset, StaticTextSave, StaticTextQuit;

// Page "DISPLAY"
extern checkbox CheckBoxRoundedPoints_DATA;
extern listbox ListBoxBlendMethod_DATA;
extern ftrackbar FTrackBarLuminance_DATA;
extern ftrackbar FTrackBarSharpness_DATA;
extern ftrackbar FTrackBarAttenuation_DATA;
extern ftrackbar FTrackBarSpaceFrequency_DATA;
extern ftrackbar FTrackBarTimeFrequency_DATA;
extern menuitem CheckBoxRoundedPoints, ListBoxBlendMethod;
extern menuitem FTrackBarLuminance, FTrackBarSharpness, FTrackBarAttenuation;
extern menuitem FTrackBarSpaceFrequency, FTrackBarTimeFrequency;

// Page "ATTRACTOR"
extern ftrackbar FTrackBarPeriod_DATA;
extern ftrackbar FTrackBarElasticity_DATA;
extern itrackbar ITrackBarMinDegree_DATA;
extern itrackbar ITrackBarMaxDegree_DATA;
extern menuitem FTrackBarPeriod, FTrackBarElasticity, ITrackBarMinDegree, ITrackBarMaxDegree;

// Page "      STATISTICS      "
extern statictext StaticTextStatistics_DATA;
extern menuitem StaticTextFrame, StaticTextTime, StaticTextFPS, StaticTextRenderer;
extern menuitem StaticTextPointCount, StaticTextDensity, StaticTextPointSize, StaticTextAlpha;
extern menuitem StaticTextCycle, StaticTextAttractor1, StaticTextAttractor2;

extern menupage MenuPageVYR, MenuPageDisplay, MenuPageAttractor, MenuPageStatistics;
extern menu MainMenu;

// Puts every record back to the values the program starts with (for tests).
void resetMainMenu();

// ---- Change callbacks: through them the menu's settings reach the state record ----
void fullScreenChange(int value);
void fullScreenParamChange(int selected);
void doubleBufferedChange(int value);
void multiSampleChange(int value);
void motionBlurChange(int selected);
void desiredFPSChange(int value);
void limitCPUUsageChange(int value);
void roundedPointsChange(int value);
void blendMethodChange(int selected);
void luminanceChange(float value);
void sharpnessChange(float value);
void attenuationChange(float value);
void spaceFrequencyChange(float value);
void timeFrequencyChange(float value);
void periodChange(float value);
void elasticityChange(float value);
void minDegreeChange(int value);
void maxDegreeChange(int value);
// A maximum degree given alone on the command line wins over a larger
// minimum from the settings file: the minimum row comes down to it, before
// the callback pass orders the pair.
void maxDegreeGivenAlone();
