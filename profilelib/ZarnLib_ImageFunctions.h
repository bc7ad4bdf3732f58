// Free functions around ZarnLib_Image: loading shortcuts, the Exif exposure values as scale
// indices and texts, and the helpers of the Exif evaluation.
#pragma once

#include "platform/WinTypes.h"

#include <string>

class ZarnLib_Image;

int LoadImage(ZarnLib_Image* image, const std::wstring& path, int flags, int targetWidth, int targetHeight,
              RECT* fitRect);
int LoadImageWithOptions(ZarnLib_Image* image, const std::wstring& path, bool fit, bool exif, bool planes,
                         int targetWidth, int targetHeight, RECT* fitRect);

int GetExifIso(ZarnLib_Image* image, int* iso);
int GetExifShutterIndex(ZarnLib_Image* image, int* index);
int GetExifApertureIndex(ZarnLib_Image* image, int* index);
int GetExifFNumberText(ZarnLib_Image* image, std::string* text);
int GetExifExposureTimeText(ZarnLib_Image* image, std::string* text);

// APEX look-ups: true and the value of the matching scale row, or false and 0.
bool ApexTvToSeconds(double tv, double* seconds);
bool ApexAvToFNumber(double av, double* fNumber);
// 2^(-Tv); the absent marker -1e10 is passed through.
double TvToSeconds(double tv);
// The part of a path after its last backslash or slash; the whole path when it has none.
std::wstring FileNameOfPath(const std::wstring& path);
// The value formatted with the format when the flag is set, else the fallback text.
std::string FormatDoubleText(bool flag, double value, const char* format, const std::string& fallback);
std::string FormatIntText(bool flag, int value, const char* format, const std::string& fallback);
