#include "profilelib/ZarnLib_ImageFunctions.h"

#include "profilelib/ZarnLib_Image.h"
#include "profilelib/ZarnLib_Scales.h"

#include <cmath>
#include <cstdio>

namespace {

// Index of the last (or first) row of a range table that holds the value; -1 when none does or a
// rounding fails.
int FindRow(const ZarnLib_ScaleRange* table, double value, bool last)
{
    int found = -1;
    for (const ZarnLib_ScaleRange* row = table; row->index != -1; ++row) {
        int v = 0, lo = 0, hi = 0;
        if (!RoundToDecimals(value, row->decimals, &v) || !RoundToDecimals(row->lo, row->decimals, &lo) ||
            !RoundToDecimals(row->hi, row->decimals, &hi))
            return found;
        if (lo <= v && v < hi) {
            found = row->index;
            if (!last)
                return found;
        }
    }
    return found;
}

} // namespace

int LoadImage(ZarnLib_Image* image, const std::wstring& path, int flags, int targetWidth, int targetHeight,
              RECT* fitRect)
{
    if (!image || image->Reset() != 0)
        return -1;
    // The scale is not handed back, but a fitted load needs somewhere to put it.
    double scale = 0.0;
    return image->Load(path, flags, targetWidth, targetHeight, fitRect, &scale);
}

int LoadImageWithOptions(ZarnLib_Image* image, const std::wstring& path, bool fit, bool exif, bool planes,
                         int targetWidth, int targetHeight, RECT* fitRect)
{
    int flags = 0;
    if (fit)
        flags |= kImageLoadFit;
    if (exif)
        flags |= kImageLoadExif;
    if (planes)
        flags |= kImageLoadPlanes;
    RECT unused{};
    return LoadImage(image, path, flags, targetWidth, targetHeight, fitRect ? fitRect : &unused) == 0 ? 0 : -1;
}

int GetExifIso(ZarnLib_Image* image, int* iso)
{
    if (!image || !iso)
        return -1;
    int v = 0;
    const int r = image->GetIso(&v);
    if (r != 0)
        return r;
    if (IsoNominalValue(v) == -1)
        return -1;
    *iso = v;
    return 0;
}

int GetExifShutterIndex(ZarnLib_Image* image, int* index)
{
    if (!image || !index)
        return -1;
    double t = 0.0;
    const int r = image->GetExposureTime(&t);
    if (r != 0)
        return r;
    // A time of 0, below 0 or not finite counts as absent, not as the shortest shutter step.
    if (!std::isfinite(t) || t <= 0.0)
        return -1;
    *index = SecondsToShutterIndex(t);
    return 0;
}

int GetExifApertureIndex(ZarnLib_Image* image, int* index)
{
    if (!image || !index)
        return -1;
    double f = 0.0;
    const int r = image->GetFNumber(&f);
    if (r != 0)
        return r;
    *index = FNumberToApertureIndex(f);
    return 0;
}

int GetExifFNumberText(ZarnLib_Image* image, std::string* text)
{
    if (!image || !text)
        return -1;
    return image->GetFNumberText(text);
}

int GetExifExposureTimeText(ZarnLib_Image* image, std::string* text)
{
    if (!image || !text)
        return -1;
    return image->GetExposureTimeText(text);
}

bool ApexTvToSeconds(double tv, double* seconds)
{
    const int index = FindRow(ApexTvRangeTable(), tv, true);
    const double v = index < 0 ? 0.0 : ShutterIndexToSeconds(index);
    if (seconds)
        *seconds = v;
    return index >= 0;
}

bool ApexAvToFNumber(double av, double* fNumber)
{
    const int index = FindRow(ApexAvRangeTable(), av, false);
    const double v = index < 0 ? 0.0 : ApertureIndexToFNumber(index);
    if (fNumber)
        *fNumber = v;
    return index >= 0;
}

double TvToSeconds(double tv)
{
    if (tv == kImageValueAbsent)
        return tv;
    return std::pow(2.0, -tv);
}

std::wstring FileNameOfPath(const std::wstring& path)
{
    const std::size_t pos = path.find_last_of(L"\\/");
    return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

// The format comes from the caller by design.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
std::string FormatDoubleText(bool flag, double value, const char* format, const std::string& fallback)
{
    if (!flag || !format)
        return fallback;
    char text[512];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string FormatIntText(bool flag, int value, const char* format, const std::string& fallback)
{
    if (!flag || !format)
        return fallback;
    char text[512];
    std::snprintf(text, sizeof text, format, value);
    return text;
}
#pragma GCC diagnostic pop
