// The code tables of CKZARN_Common and the checks against them: plain data without any window,
// so that the settings files' checks can use them where no user interface is built.
#include "core/CKZARN_Common.h"

#include <algorithm>

namespace {

constexpr int kIsoTable[67] = {3, 4, 5, 6, 8, 10, 12, 16, 20, 25, 32, 40, 50, 64, 80, 100, 125, 160, 200, 250,
                               320, 400, 500, 640, 800, 1000, 1250, 1600, 2000, 2500, 3200, 4000, 5000, 6400,
                               8000, 10000, 12800, 16000, 20000, 25600, 32000, 40000, 51200, 64000, 80000,
                               102400, 128000, 160000, 204800, 256000, 320000, 409600, 512000, 640000, 819200,
                               1024000, 1280000, 1638400, 2048000, 2560000, 3276800, 4096000, 5120000,
                               6553600, 8192000, 10240000, 13107200};
constexpr int kShutterTable[28] = {0,  3,  6,  9,  12, 15, 18, 21, 24, 27, 30, 33, 36, 39,
                                   42, 45, 48, 51, 54, 57, 60, 63, 66, 69, 72, 75, 78, 81};
constexpr int kFrameRateTable[48] = {1,  2,  3,  4,   6,   8,   10,  12,  14,  15,  16,  18,  20,  23,  24,  25,
                                     29, 30, 32, 36,  40,  47,  48,  50,  59,  60,  64,  72,  75,  90,  96,  100,
                                     120, 125, 128, 150, 180, 200, 240, 250, 256, 300, 360, 375, 500, 625, 750, 1000};
constexpr int kShutterAngleTable[79] = {1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  1125, 12,  15,
                                        17,  20,  22,  23,  25,  30,  35,  40,  432, 45,  50,  55,   60,  65,
                                        70,  72,  75,  80,  85,  864, 90,  95,  100, 105, 110, 115,  120, 125,
                                        130, 135, 140, 144, 145, 150, 155, 160, 165, 170, 172, 1728, 175, 180,
                                        185, 190, 195, 200, 205, 210, 215, 216, 220, 225, 230, 235,  240, 245,
                                        250, 255, 260, 262, 265, 270, 288, 316, 358};
constexpr int kApertureTable[17] = {0, 3, 6, 8, 11, 14, 17, 20, 23, 26, 29, 32, 35, 38, 41, 44, 47};
constexpr int kDigitTable[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

bool Contains(std::span<const int> table, int code)
{
    return std::find(table.begin(), table.end(), code) != table.end();
}

} // namespace

std::span<const int> CKZARN_Common::IsoTable() { return kIsoTable; }
std::span<const int> CKZARN_Common::ShutterTimeTable() { return kShutterTable; }
std::span<const int> CKZARN_Common::FrameRateTable() { return kFrameRateTable; }
std::span<const int> CKZARN_Common::ShutterAngleTable() { return kShutterAngleTable; }
std::span<const int> CKZARN_Common::ApertureTable() { return kApertureTable; }
std::span<const int> CKZARN_Common::DigitTable() { return kDigitTable; }

BOOL CKZARN_Common::IsValidIsoCode(int code) { return Contains(kIsoTable, code) ? TRUE : FALSE; }
BOOL CKZARN_Common::IsValidShutterTimeCode(int code) { return Contains(kShutterTable, code) ? TRUE : FALSE; }
BOOL CKZARN_Common::IsValidFrameRateCode(int code) { return Contains(kFrameRateTable, code) ? TRUE : FALSE; }
BOOL CKZARN_Common::IsValidShutterAngleCode(int code) { return Contains(kShutterAngleTable, code) ? TRUE : FALSE; }
BOOL CKZARN_Common::IsValidApertureCode(int code) { return Contains(kApertureTable, code) ? TRUE : FALSE; }
BOOL CKZARN_Common::IsValidDigitCode(int code) { return Contains(kDigitTable, code) ? TRUE : FALSE; }
