// The change callbacks through which menu settings reach the state record.
#pragma once

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
