// Reading and writing the two settings files into ZarnAppSettings, with the checks that replace
// every bad or missing value by its fall-back. Nothing here fails: a missing file reads as empty.
#pragma once

#include "core/ZarnAppSettings.h"

#include <string>

class CIniFile;

class ZarnSettingsFiles {
public:
    static constexpr const char* kProgramFileName = "KZARN.ini";
    static constexpr const char* kUserFileName = "KZARN_User.ini";

    // The program file's levels, corners and log switch. decimal: the locale's decimal character,
    // put in place of every "." of a corner text before it is read under the process locale.
    static void LoadProgram(const CIniFile& file, char decimal, ZarnAppSettings* settings);
    // The user file's levels (falling back to the program levels) and wizard choices; the frame-rate
    // and shutter-angle codes are left as they are.
    static void LoadUser(const CIniFile& file, ZarnAppSettings* settings);
    // Puts the user levels and wizard choices into the file as they are in memory.
    static void StoreUser(const ZarnAppSettings& settings, CIniFile* file);

    // Whether five levels (CPM, DRM, DRP, CPP, CNT) are in 0..255 and CPM <= DRM <= CNT <= DRP <= CPP.
    static bool LevelsValid(const int levels[5]);
    // One corner text "x,y", its numbers with a point (or else with the user's decimal character),
    // read without the C library's locale; false unless it gives two numbers, each within 0..1.
    static bool ParseCorner(const std::string& text, char decimal, double* x, double* y);
    // The chart choices the wizard offers: 0, 1, 2 and 5.
    static bool IsKnownTarget(int target);
};
