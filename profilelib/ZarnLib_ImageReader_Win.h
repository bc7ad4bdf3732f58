// The implementation behind ZarnLib_Image: a picture loaded from a JPEG or TIFF file, optionally
// fitted into a target rectangle and split into colour planes, with its Exif exposure values.
#pragma once

#include "platform/WinTypes.h"
#include "profilelib/ZarnLib_Bitmap.h"
#include "profilelib/ZarnLib_ImagePlanes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// Load flags.
inline constexpr int kImageLoadFitPlanes = 0x0001;
inline constexpr int kImageLoadFit = 0x0010;
inline constexpr int kImageLoadExif = 0x0100;
inline constexpr int kImageLoadPlanes = 0x1000;

// Load results besides 0 and -1.
inline constexpr int kImageErrorNoBitmap = -10004;   // the file gives no picture
inline constexpr int kImageErrorFitFailed = -10002;  // the fitted picture cannot be made

// Marks an exposure time or f-number as absent.
inline constexpr double kImageValueAbsent = -1e10;

class ZarnLib_ImageReader_Win {
public:
    ZarnLib_ImageReader_Win();
    virtual ~ZarnLib_ImageReader_Win();
    ZarnLib_ImageReader_Win(const ZarnLib_ImageReader_Win&) = delete;
    ZarnLib_ImageReader_Win& operator=(const ZarnLib_ImageReader_Win&) = delete;

    // The copy the image handle makes: path, sizes, format, bitmap, fit, planes and Exif values;
    // save settings and grey conversion keep their defaults.
    std::unique_ptr<ZarnLib_ImageReader_Win> Copy() const;

    int Load(const std::wstring& path, int flags, int targetWidth, int targetHeight, RECT* fitRectOut,
             double* scaleOut);
    void Release();
    int AdjustBrightness(int amount);
    int Save();
    void SetSaveFormat(int format) { saveFormat = format; }
    void SetSavePath(const std::string& folder);
    void SetGreyConversion(bool on) { greyConversion = on; }

    int GetBitmap(const ZarnLib_Bitmap** out) const;
    int GetWidth(unsigned* out) const;
    int GetHeight(unsigned* out) const;
    int GetScale(double* out) const;
    int GetFitRect(RECT* out) const;
    int GetPath(std::wstring* out) const;
    int GetPlanes(const ZarnLib_ImagePlanes** out) const;
    std::unique_ptr<ZarnLib_ImagePlanes> GetRowPixels(int count, int x, int y) const;
    std::array<unsigned char, 3> GetPixel(int x, int y) const;
    int SetPixel(int x, int y, int red, int green, int blue);

    int GetIso(int* out) const;
    int GetExposureTime(double* out) const;
    int GetFNumber(double* out) const;
    int GetIsoText(std::string* out) const;
    int GetExposureTimeText(std::string* out) const;
    int GetFNumberText(std::string* out) const;

    int SetPath(const std::wstring& newPath);
    int SetWidth(unsigned value);
    int SetHeight(unsigned value);
    const std::string& GetSavePath() const { return savePath; }
    int GetSaveFormat() const { return saveFormat; }
    int GetPixelFormat() const { return pixelFormat; }

private:
    void EvaluateExif();
    void BuildPlanes();
    void ConvertToGrey();

    std::wstring path;
    std::unique_ptr<ZarnLib_Bitmap> bitmap;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::unique_ptr<ZarnLib_ImagePlanes> planes;
    int pixelFormat = 0;
    RECT fitRect{};
    double scale = 0.0;
    bool isoValid = false;
    int iso = -1;
    bool exposureValid = false;
    double exposureTime = 0.0;
    bool fNumberValid = false;
    double fNumber = 0.0;
    bool greyConversion = false;
    int saveFormat = 0;
    std::string savePath = "c:\\";
};
