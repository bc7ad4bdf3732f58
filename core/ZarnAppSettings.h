// What the program remembers outside the registry: the installation's defaults from "KZARN.ini"
// and the user's levels and last wizard choices from "KZARN_User.ini". The windows read and change
// it in memory while the program runs; it is written back once, at shut-down.
#pragma once

#include "platform/WinTypes.h"

#include <string>

struct ZarnAppSettings {
    // Output levels of the five characteristic points, in this order: CPM, DRM, DRP, CPP, CNT.
    int programCPM = 20;
    int programDRM = 35;
    int programDRP = 230;
    int programCPP = 245;
    int programCNT = 118;
    int userCPM = 20;
    int userDRM = 35;
    int userDRP = 230;
    int userCPP = 245;
    int userCNT = 118;

    // Default chart corners as fractions of the photograph: LT x, LT y, RT x, RT y, RB x, RB y,
    // LB x, LB y.
    double corners[8] = {0.4, 0.4, 0.6, 0.4, 0.6, 0.6, 0.4, 0.6};

    int Target = 0;      // chart choice of the wizard: 0, 1, 2 or 5
    int LightSource = 0; // 0 or 1
    int IsoSpeed = 100;
    // Readings: shutter index, frame-rate code, shutter-angle code, aperture index, tenths.
    int ShutterSpeedIL = 54;
    int FrameRateIL = 0;
    int ShutterAngleIL = 0;
    int ApertureIL = 20;
    int TenthsIL = 0;
    int ShutterSpeedRL = 54;
    int FrameRateRL = 0;
    int ShutterAngleRL = 0;
    int ApertureRL = 20;
    int TenthsRL = 0;
    std::string ImgDir;
    BOOL calculationLog = FALSE;
};
