// One photograph of the wizard: its path, the exposure values read from its Exif data or typed by
// the user, its check mark, brightness, chart corners and decoded thumbnail. The thumbnail strip's
// records are shared with its loader thread and are read and written under Lock/Unlock; the copies
// that pages and the wizard take are private snapshots. The image and the lock are never copied.
#pragma once

#include "core/COleDateTime.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class ZarnLib_Image;

class ExifInputValues {
public:
    // Load result of a record the loader has not decoded yet.
    static constexpr std::int32_t kNotLoaded = -10503;
    // Typed shutter angle that means "none, the code applies".
    static constexpr double kNoTypedShutterAngle = 999.999;

    ExifInputValues();
    ExifInputValues(const ExifInputValues& other);
    ExifInputValues& operator=(const ExifInputValues&) = delete;
    ~ExifInputValues();

    void Reset();
    // Copies every data field, never the image or the lock.
    void Assign(const ExifInputValues& other);
    // Copies the exposure values only: the from-Exif flags, the five codes and the typed values.
    void AssignExposure(const ExifInputValues& other);
    // The corners in the photograph's own pixels: each stored coordinate divided by the scale,
    // truncated toward zero. A scale that is not a positive number gives no corners (all zero).
    void GetCornerPoints(POINT corners[4]) const;
    bool HasCornerPoints() const;

    void Lock();
    void Unlock();

    // The decoded thumbnail (owned; the loader sets it).
    ZarnLib_Image* GetImage() const { return image_; }
    void SetImage(ZarnLib_Image* image);

    std::string path;
    COleDateTime dateTime;
    std::int32_t reserved1 = 0;
    std::int32_t reserved2 = 0;
    std::int32_t reserved3 = 0;
    std::int32_t loadResult = kNotLoaded;
    std::int32_t isoFromExif = 0;
    std::int32_t shutterFromExif = 0;
    std::int32_t apertureFromExif = 0;
    std::int32_t frameRateFromExif = 0;
    std::int32_t shutterAngleFromExif = 0;
    std::int32_t iso = -1;
    std::int32_t shutterIndex = -1;
    std::int32_t apertureIndex = -1;
    std::int32_t shutterAngleCode = -1;
    std::int32_t frameRateCode = -1;
    double typedFrameRate = 0.0;
    double typedShutterAngle = kNoTypedShutterAngle;
    std::int32_t checked = 0;
    std::int32_t cornersConfirmed = 0;
    double brightnessAdjust = 0.0;
    std::int32_t brightnessLevel = 0;
    POINT corners[4] = {};
    double scale = 0.0;

private:
    void ReleaseImage();

    ZarnLib_Image* image_ = nullptr;
    std::unique_ptr<std::mutex> lock_;
};
