// Change callbacks: each records one menu setting in the state record,
// converting units where the menu shows percent or seconds. They only record
// requests; the window code and the engine act on them at the next step.
#include "app/callbacks.h"

#include "app/mainmenu.h"
#include "core/appdata.h"

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
