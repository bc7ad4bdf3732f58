// Small profile files for the tests of the profile commands: tables at chosen ISO speeds with four
// limit points per block, any format version, any chart kind; and a file that only its version
// header makes look like a profile.
#pragma once

#include <initializer_list>
#include <string>

class TestProfileFiles {
public:
    // A profile with one table per ISO speed (light source 0), both blocks valid. The incident
    // block's CPM and CPP lie at cpm and cpp EV. False when it could not be saved.
    static bool Write(const std::string& path, short version, short subVersion, std::initializer_list<int> isos,
                      int chartKind = 1, double cpm = -4.0, double cpp = 4.2);
    // A wizard profile (version 3.0) with measured tables at the ISO speeds: three photographs each,
    // CPM and CPP of both blocks at cpm and cpp EV.
    static bool WriteMeasured(const std::string& path, std::initializer_list<int> isos, double cpm, double cpp);
    // A profile file of that version cut short after its header: the version reads, the file does
    // not load.
    static bool WriteBroken(const std::string& path, short version, short subVersion);
    static std::string Read(const std::string& path);
};
