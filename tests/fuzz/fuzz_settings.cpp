// The settings values of the two INI files: a file of any bytes read as the program file and as
// the user file. Every value that is bad or missing falls back, so what is loaded is always within
// its range; and the user settings written back read as the same settings.
#include "core/ZarnSettingsFiles.h"
#include "core/util/CIniFile.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// What an INI value can carry: the text up to its first line end, without blanks at its ends.
std::string Storable(const std::string& value)
{
    const std::string cut = value.substr(0, value.find_first_of("\r\n"));
    const char* blanks = " \t\r\n\v\f";
    const std::size_t first = cut.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    return cut.substr(first, cut.find_last_not_of(blanks) - first + 1);
}

bool SameUser(const ZarnAppSettings& a, const ZarnAppSettings& b)
{
    return a.userCPM == b.userCPM && a.userDRM == b.userDRM && a.userDRP == b.userDRP && a.userCPP == b.userCPP &&
           a.userCNT == b.userCNT && a.Target == b.Target && a.LightSource == b.LightSource &&
           a.IsoSpeed == b.IsoSpeed && a.ShutterSpeedIL == b.ShutterSpeedIL && a.ApertureIL == b.ApertureIL &&
           a.TenthsIL == b.TenthsIL && a.ShutterSpeedRL == b.ShutterSpeedRL && a.ApertureRL == b.ApertureRL &&
           a.TenthsRL == b.TenthsRL &&
           Storable(a.ImgDir) == b.ImgDir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CIniFile file;
    file.Parse(std::string(reinterpret_cast<const char*>(data), size));
    ZarnAppSettings settings;
    ZarnSettingsFiles::LoadProgram(file, size % 2 ? ',' : '.', &settings);
    ZarnSettingsFiles::LoadUser(file, &settings);

    const int program[5] = {settings.programCPM, settings.programDRM, settings.programDRP, settings.programCPP,
                            settings.programCNT};
    const int user[5] = {settings.userCPM, settings.userDRM, settings.userDRP, settings.userCPP, settings.userCNT};
    if (!ZarnSettingsFiles::LevelsValid(program) || !ZarnSettingsFiles::LevelsValid(user)) std::abort();
    for (const double c : settings.corners) {
        if (!(c >= 0.0 && c <= 1.0)) std::abort();
    }
    if (!ZarnSettingsFiles::IsKnownTarget(settings.Target)) std::abort();
    if (settings.LightSource != 0 && settings.LightSource != 1) std::abort();

    CIniFile written;
    ZarnSettingsFiles::StoreUser(settings, &written);
    CIniFile reread;
    reread.Parse(written.Text());
    ZarnAppSettings back = settings;
    ZarnSettingsFiles::LoadUser(reread, &back);
    if (!SameUser(settings, back)) std::abort();
    return 0;
}
