#include "profilelib/ZarnLib_Scales.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

namespace {

constexpr double kFNumbers[50] = {
    0.5, 0.5612, 0.63, 0.7071, 0.7937, 0.8909, 1.0, 1.2599, 1.4142, 1.5874,
    1.7817, 2.0, 2.2449, 2.5198, 2.8284, 3.1748, 3.5635, 4.0, 4.4898, 5.0396,
    5.6568, 6.3496, 7.1271, 8.0, 8.9796, 10.0793, 11.3137, 12.6992, 14.2544, 16.0,
    17.9594, 20.1587, 22.6274, 25.3984, 28.5088, 32.0, 35.9188, 40.3175, 45.2548, 50.7968,
    57.0175, 64.0, 71.8376, 80.6349, 90.5097, 101.5937, 114.035, 128.0, 143.6751, 161.2698};

constexpr double kFNumberLowerBounds[50] = {
    0.47205, 0.52979, 0.5946, 0.66757, 0.74924, 0.8409, 0.94409, 1.0592, 1.3347, 1.498,
    1.6818, 1.8875, 2.1184, 2.3784, 2.6694, 2.9959, 3.3636, 3.7751, 4.2369, 4.7568,
    5.3387, 5.9918, 6.7272, 7.5501, 8.4737, 9.5137, 10.677, 11.984, 13.454, 15.1,
    16.947, 19.027, 21.355, 23.967, 26.909, 30.2, 33.895, 38.055, 42.71, 47.935,
    53.817, 60.401, 67.79, 76.109, 85.42, 95.869, 107.63, 120.8, 135.58, 152.22};
constexpr double kFNumberUpperBound = 170.84;

constexpr double kSecondsLowerBounds[82] = {
    1650, 1350, 1050, 840, 690, 540, 420, 330, 270, 216,
    171, 135, 108, 87, 69, 55, 45, 35, 27.5, 22.5,
    17.5, 14, 11.5, 9, 7, 5.5, 4.5, 3.6, 2.85, 2.25,
    1.8, 1.45, 1.15, 0.9, 0.7, 0.55, 0.45, 0.35, 0.275, 0.225,
    0.183333, 0.145833, 0.1125, 0.0884615, 0.0717949, 0.0583333, 0.045, 0.0366667, 0.0291667, 0.0225,
    0.0183333, 0.0145833, 0.01125, 0.009, 0.007125, 0.005625, 0.0045, 0.0035625, 0.0028125, 0.00225,
    0.00178125, 0.00140625, 0.001125, 0.0009, 0.0007125, 0.0005625, 0.00045, 0.00035625, 0.00028125, 0.000225,
    0.000178125, 0.000140625, 0.0001125, 0.0000884615, 0.0000697115, 0.00005625, 0.0000442308, 0.0000348558,
    0.000028125, 0.0000221154, 0.0000174279, 0.0000140625};
constexpr double kSecondsUpperBound = 2050;

constexpr int kIsoValues[67] = {
    3, 4, 5, 6, 8, 10, 12, 16, 20, 25, 32, 40, 50, 64, 80, 100, 125, 160, 200, 250,
    320, 400, 500, 640, 800, 1000, 1250, 1600, 2000, 2500, 3200, 4000, 5000, 6400, 8000, 10000,
    12800, 16000, 20000, 25600, 32000, 40000, 51200, 64000, 80000, 102400, 128000, 160000, 204800,
    256000, 320000, 409600, 512000, 640000, 819200, 1024000, 1280000, 1638400, 2048000, 2560000,
    3276800, 4096000, 5120000, 6553600, 8192000, 10240000, 13107200};

constexpr int kFrameRateCodes[48] = {
    1, 2, 3, 4, 6, 8, 10, 12, 14, 15, 16, 18, 20, 23, 24, 25, 29, 30, 32, 36, 40, 47, 48, 50,
    59, 60, 64, 72, 75, 90, 96, 100, 120, 125, 128, 150, 180, 200, 240, 250, 256, 300, 360, 375,
    500, 625, 750, 1000};

constexpr int kShutterAngleCodes[79] = {
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 17, 20, 22, 23, 25, 30, 35, 40, 45, 50, 55, 60,
    65, 70, 72, 75, 80, 85, 90, 95, 100, 105, 110, 115, 120, 125, 130, 135, 140, 144, 145, 150,
    155, 160, 165, 170, 172, 175, 180, 185, 190, 195, 200, 205, 210, 215, 216, 220, 225, 230,
    235, 240, 245, 250, 255, 260, 262, 265, 270, 288, 316, 358, 432, 864, 1125, 1728};

const char* const kApertureTexts[50] = {
    "0.5", "0.56", "0.63", "0.7", "0.8", "0.9", "1.0", "1.3", "1.4", "1.6",
    "1.8", "2.0", "2.2", "2.5", "2.8", "3.2", "3.6", "4.0", "4.5", "5.0",
    "5.6", "6.3", "7.1", "8.0", "9.0", "10", "11", "13", "14", "16",
    "18", "20", "22", "25", "29", "32", "36", "40", "45", "51",
    "57", "64", "72", "80", "90", "102", "114", "128", "144", "161"};

const char* const kShutterTexts[82] = {
    "30m", "25m", "20m", "15m", "13m", "10m", "8m", "6m", "5m", "4m",
    "3.2m", "2.5m", "2m", "1.6m", "1.3m", "1m", "50s", "40s", "30s", "25s",
    "20s", "15s", "13s", "10s", "8s", "6s", "5s", "4s", "3.2s", "2.5s",
    "2s", "1.6s", "1.3s", "1s", "0.8s", "0.6s", "2", "0.4s", "0.3s", "4",
    "5", "6", "8", "10", "13", "15", "20", "25", "30", "40",
    "50", "60", "80", "100", "125", "160", "200", "250", "320", "400",
    "500", "640", "800", "1000", "1250", "1600", "2000", "2500", "3200", "4000",
    "5000", "6400", "8000", "10000", "13000", "16000", "20000", "26000", "32000", "40000",
    "52000", "64000"};

int TimeDecimals(int index)
{
    static constexpr int kLastIndexOfGroup[] = {18, 27, 35, 39, 43, 52, 59, 68, 81};
    for (int group = 0; group < 9; ++group) {
        if (index <= kLastIndexOfGroup[group]) {
            return group + 1;
        }
    }
    return 9;
}

int FNumberDecimals(int index)
{
    if (index <= 5) {
        return 6;
    }
    if (index <= 24) {
        return 5;
    }
    return index <= 44 ? 4 : 3;
}

// A bound of k sixths of a stop written to three decimals the way the tables write them: the
// thousandths truncated toward zero (1/6 is .166, 5/6 is .833).
double SixthsBound(int sixths)
{
    return static_cast<double>(sixths * 1000 / 6) / 1000.0;
}

using FNumberTable = std::array<ZarnLib_ScaleRange, 51>;
using ShutterTable = std::array<ZarnLib_ScaleRange, 83>;

FNumberTable BuildFNumberTable()
{
    FNumberTable rows{};
    for (int i = 0; i < 50; ++i) {
        rows[i] = {i, kFNumberLowerBounds[i], i < 49 ? kFNumberLowerBounds[i + 1] : kFNumberUpperBound,
                   FNumberDecimals(i)};
    }
    rows[50] = {-1, -1, -1, -1};
    return rows;
}

ShutterTable BuildSecondsTable()
{
    ShutterTable rows{};
    for (int i = 0; i < 82; ++i) {
        rows[i] = {i, kSecondsLowerBounds[i], i == 0 ? kSecondsUpperBound : kSecondsLowerBounds[i - 1],
                   TimeDecimals(i)};
    }
    rows[82] = {-1, -1, -1, -1};
    return rows;
}

ShutterTable BuildApexTvTable()
{
    ShutterTable rows{};
    for (int i = 0; i < 82; ++i) {
        const int centre = 2 * (i - 33); // Tv(i) in sixths
        rows[i] = {i, SixthsBound(centre - 1), SixthsBound(centre + 1), 4};
    }
    rows[82] = {-1, -1, -1, -1};
    return rows;
}

FNumberTable BuildApexAvTable()
{
    FNumberTable rows{};
    for (int i = 0; i < 50; ++i) {
        const int centre = i <= 6 ? 2 * (i - 6) : 2 * (i - 5); // Av(i) in sixths (row 7 below)
        rows[i] = {i, SixthsBound(centre - 1), SixthsBound(centre + 1), 4};
    }
    // Both third-stop values between f/1.0 and f/1.4 fall in index 7.
    rows[7] = {7, SixthsBound(1), SixthsBound(5), 4};
    rows[50] = {-1, -1, -1, -1};
    return rows;
}

template <std::size_t N>
bool Contains(const int (&codes)[N], int code)
{
    for (int c : codes) {
        if (c == code) {
            return true;
        }
    }
    return false;
}

int AssignText(const char* pointForm, ZarnLibString* out)
{
    if (std::strchr(pointForm, '.') != nullptr && UsesDecimalComma()) {
        char commaForm[32];
        std::snprintf(commaForm, sizeof commaForm, "%s", pointForm);
        *std::strchr(commaForm, '.') = ',';
        out->SetText(commaForm);
    } else {
        out->SetText(pointForm);
    }
    return 0;
}

} // namespace

double ApertureIndexToAv(int index)
{
    if (index < 0 || index > kApertureIndexMax) {
        return kInvalidApex;
    }
    if (index <= 6) {
        return -2.0 + index / 3.0;
    }
    if (index == 7) {
        return 2.0 / 3.0;
    }
    return (index - 5) / 3.0;
}

double ShutterIndexToTv(int index)
{
    if (index < 0 || index > kShutterIndexMax) {
        return kInvalidApex;
    }
    return index / 3.0 - 11.0;
}

double ApertureIndexToFNumber(int index)
{
    if (index < 0 || index > kApertureIndexMax) {
        return -1.0;
    }
    return kFNumbers[index];
}

double ShutterIndexToSeconds(int index)
{
    if (index < 0 || index > kShutterIndexMax) {
        return -1.0;
    }
    // 2^(11 - i/3) to five significant digits, half away from zero.
    const double seconds = std::exp2(11.0 - index / 3.0);
    const int magnitude = static_cast<int>(std::floor(std::log10(seconds)));
    const int shift = 4 - magnitude; // 1 (2048 s) to 9 (1/65536 s)
    const double scale = std::pow(10.0, shift);
    return std::round(seconds * scale) / scale;
}

bool RoundToDecimals(double x, int decimals, int* out)
{
    if (decimals > 9 || std::isnan(x)) {
        return false;
    }
    const double half = x < 0 ? -0.5 : 0.5;
    if (decimals == 0) {
        x = x + half;
    } else if (decimals > 0) {
        x = x * std::pow(10.0, decimals) + half;
    }
    if (x > 2147483647.0 || x < -2147483648.0) {
        return false;
    }
    if (out != nullptr) {
        *out = static_cast<int>(x);
    }
    return true;
}

const ZarnLib_ScaleRange* FNumberRangeTable()
{
    static const FNumberTable table = BuildFNumberTable();
    return table.data();
}

const ZarnLib_ScaleRange* SecondsRangeTable()
{
    static const ShutterTable table = BuildSecondsTable();
    return table.data();
}

const ZarnLib_ScaleRange* ApexTvRangeTable()
{
    static const ShutterTable table = BuildApexTvTable();
    return table.data();
}

const ZarnLib_ScaleRange* ApexAvRangeTable()
{
    static const FNumberTable table = BuildApexAvTable();
    return table.data();
}

int LookupScaleRange(const ZarnLib_ScaleRange* table, double value)
{
    if (table == nullptr) {
        return -1;
    }
    for (const ZarnLib_ScaleRange* row = table; row->index != -1; ++row) {
        int v = 0;
        int lo = 0;
        int hi = 0;
        if (!RoundToDecimals(value, row->decimals, &v) || !RoundToDecimals(row->lo, row->decimals, &lo) ||
            !RoundToDecimals(row->hi, row->decimals, &hi)) {
            return -1;
        }
        if (lo <= v && v < hi) {
            return row->index;
        }
    }
    return -1;
}

int FNumberToApertureIndex(double fNumber)
{
    return LookupScaleRange(FNumberRangeTable(), fNumber);
}

int SecondsToShutterIndex(double seconds)
{
    const ZarnLib_ScaleRange* table = SecondsRangeTable();
    for (const ZarnLib_ScaleRange* row = table; row->index != -1; ++row) {
        int v = 0;
        int lo = 0;
        int hi = 0;
        if (!RoundToDecimals(seconds, row->decimals, &v) || !RoundToDecimals(row->lo, row->decimals, &lo) ||
            !RoundToDecimals(row->hi, row->decimals, &hi)) {
            return -1;
        }
        if (lo <= v && v < hi) {
            return row->index;
        }
    }
    return seconds < kShortestShutterSeconds ? kShutterIndexMax : -1;
}

int IsoNominalValue(int iso)
{
    return Contains(kIsoValues, iso) ? iso : -1;
}

int CineShutterIndex(double frameRate, double shutterAngle)
{
    if (frameRate == 0.0) {
        return -1;
    }
    return SecondsToShutterIndex(shutterAngle / (frameRate * 360.0));
}

bool UsesDecimalComma()
{
    char text[64];
    std::snprintf(text, sizeof text, "%f", 5.5);
    const char* comma = std::strchr(text, ',');
    return comma != nullptr && comma - text >= 1;
}

int ApertureIndexToText(int index, ZarnLibString* out)
{
    if (out == nullptr || index < 0 || index > kApertureIndexMax) {
        return -1;
    }
    return AssignText(kApertureTexts[index], out);
}

int ShutterIndexToText(int index, ZarnLibString* out)
{
    if (out == nullptr || index < 0 || index > kShutterIndexMax) {
        return -1;
    }
    return AssignText(kShutterTexts[index], out);
}

int IsoValueToText(int iso, ZarnLibString* out)
{
    if (out == nullptr || IsoNominalValue(iso) == -1) {
        return -1;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%d", iso);
    out->SetText(text);
    return 0;
}

int FrameRateCodeToText(int code, ZarnLibString* out)
{
    if (out == nullptr || !Contains(kFrameRateCodes, code)) {
        return -1;
    }
    switch (code) {
    case 23: return AssignText("23.976", out);
    case 29: return AssignText("29.97", out);
    case 47: return AssignText("47.952", out);
    case 59: return AssignText("59.94", out);
    default: break;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%d", code);
    return AssignText(text, out);
}

int ShutterAngleCodeToText(int code, ZarnLibString* out)
{
    if (out == nullptr || !Contains(kShutterAngleCodes, code)) {
        return -1;
    }
    switch (code) {
    case 23: return AssignText("22.5", out);
    case 432: return AssignText("43.2", out);
    case 864: return AssignText("86.4", out);
    case 1125: return AssignText("11.25", out);
    case 1728: return AssignText("172.8", out);
    default: break;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%d", code);
    return AssignText(text, out);
}

int LineAngle(double x1, double y1, double x2, double y2, double* angle)
{
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    double a = 0.0;
    if (dx * dx + dy * dy != 0.0) {
        a = std::atan2(dy, dx);
        if (a > std::numbers::pi / 2) {
            a -= std::numbers::pi;
        } else if (a < -std::numbers::pi / 2) {
            a += std::numbers::pi;
        }
    }
    if (angle != nullptr) {
        *angle = -a;
    }
    return 0;
}

double RoundToTenths(double v)
{
    int tenths = 0;
    if (!RoundToDecimals(v, 1, &tenths)) {
        return 0.0;
    }
    return tenths / 10.0;
}
