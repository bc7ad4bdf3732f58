#include "ui/wizard/ExifInputValues.h"

#include "profilelib/ZarnLib_Image.h"

#include <cmath>

ExifInputValues::ExifInputValues() : lock_(std::make_unique<std::mutex>()) {}

ExifInputValues::ExifInputValues(const ExifInputValues& other) : lock_(std::make_unique<std::mutex>())
{
    // A copy is a snapshot: the date and the second and third reserved values start afresh.
    Assign(other);
    dateTime = COleDateTime{};
    reserved2 = 0;
    reserved3 = 0;
}

ExifInputValues::~ExifInputValues()
{
    ReleaseImage();
}

void ExifInputValues::ReleaseImage()
{
    if (image_ != nullptr) {
        image_->Release();
        delete image_;
        image_ = nullptr;
    }
}

void ExifInputValues::SetImage(ZarnLib_Image* image)
{
    if (image == image_)
        return;
    ReleaseImage();
    image_ = image;
}

void ExifInputValues::Reset()
{
    path.clear();
    double date = 0.0;
    dateTime.m_status = COleDateTime::FromFields(1900, 1, 1, 0, 0, 0, date) ? COleDateTime::valid
                                                                           : COleDateTime::invalid;
    dateTime.m_dt = date;
    reserved1 = reserved2 = reserved3 = 0;
    loadResult = kNotLoaded;
    isoFromExif = shutterFromExif = apertureFromExif = frameRateFromExif = shutterAngleFromExif = 0;
    iso = shutterIndex = apertureIndex = shutterAngleCode = frameRateCode = -1;
    typedFrameRate = 0.0;
    typedShutterAngle = kNoTypedShutterAngle;
    checked = 0;
    cornersConfirmed = 0;
    brightnessAdjust = 0.0;
    brightnessLevel = 0;
    for (POINT& p : corners)
        p = POINT{};
    scale = 1.0;
    ReleaseImage();
}

void ExifInputValues::Assign(const ExifInputValues& other)
{
    if (&other == this)
        return;
    path = other.path;
    dateTime = other.dateTime;
    reserved1 = other.reserved1;
    reserved2 = other.reserved2;
    reserved3 = other.reserved3;
    loadResult = other.loadResult;
    AssignExposure(other);
    checked = other.checked;
    cornersConfirmed = other.cornersConfirmed;
    brightnessAdjust = other.brightnessAdjust;
    brightnessLevel = other.brightnessLevel;
    for (int k = 0; k < 4; ++k)
        corners[k] = other.corners[k];
    scale = other.scale;
}

void ExifInputValues::AssignExposure(const ExifInputValues& other)
{
    isoFromExif = other.isoFromExif;
    shutterFromExif = other.shutterFromExif;
    apertureFromExif = other.apertureFromExif;
    frameRateFromExif = other.frameRateFromExif;
    shutterAngleFromExif = other.shutterAngleFromExif;
    iso = other.iso;
    shutterIndex = other.shutterIndex;
    apertureIndex = other.apertureIndex;
    shutterAngleCode = other.shutterAngleCode;
    frameRateCode = other.frameRateCode;
    typedFrameRate = other.typedFrameRate;
    typedShutterAngle = other.typedShutterAngle;
}

void ExifInputValues::GetCornerPoints(POINT out[4]) const
{
    // Without a usable scale the marked corners cannot be brought back to the photograph: a
    // division by 0 would give infinities that no int can hold.
    const bool usable = std::isfinite(scale) && scale > 0.0;
    for (int k = 0; k < 4; ++k) {
        if (!usable) {
            out[k] = POINT{};
            continue;
        }
        const double x = std::trunc(corners[k].x / scale), y = std::trunc(corners[k].y / scale);
        const bool fits = std::fabs(x) < 2147483647.0 && std::fabs(y) < 2147483647.0;
        out[k] = fits ? POINT{static_cast<LONG>(x), static_cast<LONG>(y)} : POINT{};
    }
}

bool ExifInputValues::HasCornerPoints() const
{
    for (const POINT& p : corners)
        if (p.x != 0 || p.y != 0)
            return true;
    return false;
}

void ExifInputValues::Lock()
{
    lock_->lock();
}

void ExifInputValues::Unlock()
{
    lock_->unlock();
}
