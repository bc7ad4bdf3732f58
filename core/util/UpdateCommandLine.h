// The argument lists with which the update dialog starts the firmware downloader and the
// application updater, and the version texts it makes from the update server's records. Values
// go to the programs one argument each, never joined into a command line.
#pragma once

#include <string>
#include <vector>

class UpdateCommandLine {
public:
    // The downloader's model text: "/" becomes "_", and for "T-140DR-EL" and "T-140DR-PX" the last
    // "-" as well.
    static std::string FirmwareModelText(const std::string& model);
    // The latest-firmware suffix made of the radio application version ("_AB.109" for a T-140DR,
    // "_**.***" for the other models); empty for an empty version.
    static std::string RadioVersionSuffix(const std::string& model, const std::string& rfAppVersion);
    // The downloader's arguments: /Zarn, /Type, /Ver, the radio versions unless the model is the
    // "T-520D" or a version is exactly "---", and /Date.
    static std::vector<std::string> FirmwareArguments(int mainWindow, const std::string& model,
                                                      const std::string& version, const std::string& rfAppVersion,
                                                      const std::string& rfLoaderVersion, const std::string& date);
    // The application updater's arguments: /Ver unless the version is "---", /Zarn and /Lang.
    static std::vector<std::string> SoftwareArguments(const std::string& latestVersion, int mainWindow,
                                                      const std::string& language);
    // Whether a value can go onto a command line as one plain value: no control characters, no
    // blanks or quotes, and no leading "/" that the receiver could take for a switch.
    static bool IsPlainArgument(const std::string& value);
};
