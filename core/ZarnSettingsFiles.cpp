#include "core/ZarnSettingsFiles.h"

#include "core/CKZARN_Common.h"
#include "core/util/CIniFile.h"
#include "core/util/DecimalText.h"
#include "profilelib/ZarnLib_ChartCorners.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr const char* kLevelKeys[5] = {"CPM", "DRM", "DRP", "CPP", "CNT"};
constexpr const char* kCornerKeys[4] = {"LT", "RT", "RB", "LB"};
constexpr const char* kCornerDefaults[4] = {"0.4,0.4", "0.6,0.4", "0.6,0.6", "0.4,0.6"};
constexpr double kDefaultCorners[8] = {0.4, 0.4, 0.6, 0.4, 0.6, 0.6, 0.4, 0.6};
// Corners are checked as points of a picture of this width and height.
constexpr double kCornerCheckScale = 1280.0;

// Reads the five levels; a bad set is replaced as a whole by the fall-back set.
void LoadLevels(const CIniFile& file, const int fallback[5], int out[5])
{
    int read[5];
    for (int i = 0; i < 5; ++i) {
        read[i] = file.GetInt("Level", kLevelKeys[i], fallback[i]);
    }
    const int* chosen = ZarnSettingsFiles::LevelsValid(read) ? read : fallback;
    std::copy(chosen, chosen + 5, out);
}

int ValidOr(bool valid, int value, int fallback)
{
    return valid ? value : fallback;
}

} // namespace

bool ZarnSettingsFiles::LevelsValid(const int levels[5])
{
    for (int i = 0; i < 5; ++i) {
        if (levels[i] < 0 || levels[i] > 255) {
            return false;
        }
    }
    const int cpm = levels[0], drm = levels[1], drp = levels[2], cpp = levels[3], cnt = levels[4];
    return cpm <= drm && drm <= cnt && cnt <= drp && drp <= cpp;
}

namespace {

// "x,y" with `decimal` in the numbers, each number after optional blanks, anything after the second
// ignored; both within 0..1.
bool ReadCorner(std::string_view text, char decimal, double* x, double* y)
{
    const auto number = [&text, decimal](double* value) {
        const std::size_t start = std::min(text.find_first_not_of(" \t\n\v\f\r"), text.size());
        std::size_t used = 0;
        if (!DecimalText::ParseLeading(text.substr(start), decimal, value, &used))
            return false;
        text.remove_prefix(start + used);
        return true;
    };
    double a = 0;
    double b = 0;
    if (!number(&a) || text.empty() || text.front() != ',')
        return false;
    text.remove_prefix(1);
    if (!number(&b) || !(a >= 0.0 && a <= 1.0 && b >= 0.0 && b <= 1.0))
        return false;
    *x = a;
    *y = b;
    return true;
}

} // namespace

bool ZarnSettingsFiles::ParseCorner(const std::string& text, char decimal, double* x, double* y)
{
    // The file's numbers carry a point on every system. A text written with the user's own decimal
    // character ("0,4,0,4" on a system with a decimal comma) is read as well, when the point does
    // not give two numbers within range.
    return ReadCorner(text, '.', x, y) || (decimal != '.' && decimal != 0 && ReadCorner(text, decimal, x, y));
}

bool ZarnSettingsFiles::IsKnownTarget(int target)
{
    return target == 0 || target == 1 || target == 2 || target == 5;
}

void ZarnSettingsFiles::LoadProgram(const CIniFile& file, char decimal, ZarnAppSettings* settings)
{
    const int defaults[5] = {20, 35, 230, 245, 118};
    int levels[5];
    LoadLevels(file, defaults, levels);
    settings->programCPM = levels[0];
    settings->programDRM = levels[1];
    settings->programDRP = levels[2];
    settings->programCPP = levels[3];
    settings->programCNT = levels[4];

    double corners[8];
    bool good = true;
    for (int i = 0; i < 4 && good; ++i) {
        good = ParseCorner(file.GetString("Wizard", kCornerKeys[i], kCornerDefaults[i]), decimal, &corners[2 * i],
                           &corners[2 * i + 1]);
    }
    if (good) {
        POINT points[4];
        for (int i = 0; i < 4; ++i) {
            points[i].x = static_cast<LONG>(corners[2 * i] * kCornerCheckScale);
            points[i].y = static_cast<LONG>(corners[2 * i + 1] * kCornerCheckScale);
        }
        good = CheckChartCorners(points) != 0;
    }
    std::copy(good ? corners : kDefaultCorners, (good ? corners : kDefaultCorners) + 8, settings->corners);

    settings->calculationLog = file.GetInt("Wizard", "DUMP", 0) == 1 ? TRUE : FALSE;
}

void ZarnSettingsFiles::LoadUser(const CIniFile& file, ZarnAppSettings* settings)
{
    const int fallback[5] = {settings->programCPM, settings->programDRM, settings->programDRP, settings->programCPP,
                             settings->programCNT};
    int levels[5];
    LoadLevels(file, fallback, levels);
    settings->userCPM = levels[0];
    settings->userDRM = levels[1];
    settings->userDRP = levels[2];
    settings->userCPP = levels[3];
    settings->userCNT = levels[4];

    const int target = file.GetInt("Wizard", "Target", 0);
    settings->Target = ValidOr(IsKnownTarget(target), target, 0);
    settings->LightSource = file.GetInt("Wizard", "LightSource", 0) == 1 ? 1 : 0;
    const int iso = file.GetInt("Wizard", "IsoSpeed", 100);
    settings->IsoSpeed = ValidOr(CKZARN_Common::IsValidIsoCode(iso) != 0, iso, 100);

    auto shutter = [&file](const char* key) {
        const int value = file.GetInt("Wizard", key, 54);
        return ValidOr(CKZARN_Common::IsValidShutterTimeCode(value) != 0, value, 54);
    };
    auto aperture = [&file](const char* key) {
        const int value = file.GetInt("Wizard", key, 20);
        return ValidOr(CKZARN_Common::IsValidApertureCode(value) != 0, value, 20);
    };
    auto tenths = [&file](const char* key) {
        const int value = file.GetInt("Wizard", key, 0);
        return ValidOr(value >= 0 && value <= 9, value, 0);
    };
    settings->ShutterSpeedIL = shutter("ShutterSpeedIL");
    settings->ApertureIL = aperture("ApertureIL");
    settings->TenthsIL = tenths("1/10IL");
    settings->ShutterSpeedRL = shutter("ShutterSpeedRL");
    settings->ApertureRL = aperture("ApertureRL");
    settings->TenthsRL = tenths("1/10RL");
    settings->ImgDir = file.GetString("Wizard", "ImgDir", "");
}

void ZarnSettingsFiles::StoreUser(const ZarnAppSettings& settings, CIniFile* file)
{
    file->SetInt("Level", "CPM", settings.userCPM);
    file->SetInt("Level", "DRM", settings.userDRM);
    file->SetInt("Level", "DRP", settings.userDRP);
    file->SetInt("Level", "CPP", settings.userCPP);
    file->SetInt("Level", "CNT", settings.userCNT);
    file->SetInt("Wizard", "Target", settings.Target);
    file->SetInt("Wizard", "LightSource", settings.LightSource);
    file->SetInt("Wizard", "IsoSpeed", settings.IsoSpeed);
    file->SetInt("Wizard", "ShutterSpeedIL", settings.ShutterSpeedIL);
    file->SetInt("Wizard", "ApertureIL", settings.ApertureIL);
    file->SetInt("Wizard", "1/10IL", settings.TenthsIL);
    file->SetInt("Wizard", "ShutterSpeedRL", settings.ShutterSpeedRL);
    file->SetInt("Wizard", "ApertureRL", settings.ApertureRL);
    file->SetInt("Wizard", "1/10RL", settings.TenthsRL);
    file->SetString("Wizard", "ImgDir", settings.ImgDir);
}
