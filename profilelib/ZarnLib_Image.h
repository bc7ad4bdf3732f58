// The library's picture handle: every operation forwards to its ZarnLib_ImageReader_Win, which
// Reset creates. Without a reader every operation fails (-1, or an empty result).
#pragma once

#include "profilelib/ZarnLib_ImageReader_Win.h"

#include <array>
#include <memory>
#include <string>

class ZarnLib_Image {
public:
    ZarnLib_Image() = default;
    ZarnLib_Image(const ZarnLib_Image& other);
    ZarnLib_Image& operator=(const ZarnLib_Image& other);
    virtual ~ZarnLib_Image() = default;

    int Reset();
    int Load(const std::wstring& path, int flags, int targetWidth, int targetHeight, RECT* fitRect, double* scale);
    int Release();
    int AdjustBrightness(int amount);
    int Save();
    int SetSaveFormat(int format);
    int SetSavePath(const std::string& folder);
    int SetGreyConversion(bool on);

    int GetBitmap(const ZarnLib_Bitmap** out) const;
    int GetWidth(unsigned* out) const;
    int GetHeight(unsigned* out) const;
    int GetScale(double* out) const;
    int GetFitRect(RECT* out) const;
    int GetPath(std::wstring* out) const;
    ZarnLib_ImageReader_Win* GetReader() const { return impl.get(); }
    int GetPlanes(const ZarnLib_ImagePlanes** out) const;
    // Null for a count of 0 or less, or without a reader.
    std::unique_ptr<ZarnLib_ImagePlanes> GetRowPixels(int count, int x, int y) const;
    std::array<unsigned char, 3> GetPixel(int x, int y) const;
    int SetPixel(int x, int y, int red, int green, int blue);

    int GetIso(int* out) const;
    int GetExposureTime(double* out) const;
    int GetFNumber(double* out) const;
    int GetIsoText(std::string* out) const;
    int GetExposureTimeText(std::string* out) const;
    int GetFNumberText(std::string* out) const;

private:
    std::unique_ptr<ZarnLib_ImageReader_Win> impl;
};
