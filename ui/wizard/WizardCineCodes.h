// The cine codes of the readings as numbers: frame-rate codes in frames per second and
// shutter-angle codes in degrees. Most codes are their own value; a few stand for fractions.
#pragma once

class WizardCineCodes {
public:
    static double FrameRateFromCode(int code);
    static double ShutterAngleFromCode(int code);
};
