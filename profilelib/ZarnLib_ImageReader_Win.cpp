#include "profilelib/ZarnLib_ImageReader_Win.h"

#include "profilelib/ZarnExif_ExifReader.h"
#include "profilelib/ZarnExif_File.h"
#include "profilelib/ZarnLib_ImageCodec.h"
#include "profilelib/ZarnLib_ImageFunctions.h"
#include "profilelib/ZarnLib_ImageResize.h"
#include "profilelib/ZarnLib_Scales.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kTagIsoSpeedRatings = 34855;
constexpr int kTagSensitivityType = 34864;
constexpr int kTagIsoSpeed = 34867;
constexpr int kTagShutterSpeedValue = 37377;
constexpr int kTagExposureTime = 33434;
constexpr int kTagFNumber = 33437;
constexpr int kTagApertureValue = 37378;
// Longest composed save name, terminating zero included.
constexpr std::size_t kSaveNameBuffer = 256;

struct Fit {
    RECT rect{};
    double scale = 0.0;
};

Fit ComputeFit(std::uint32_t width, std::uint32_t height, int tw, int th)
{
    Fit fit;
    const double rt = static_cast<double>(tw) / th;
    const double ri = static_cast<double>(width) / height;
    fit.scale = rt > ri ? static_cast<double>(th) / height : static_cast<double>(tw) / width;
    const double left = std::trunc(tw * 0.5 - width * fit.scale * 0.5);
    const double top = std::trunc(th * 0.5 - height * fit.scale * 0.5);
    fit.rect.left = static_cast<LONG>(left);
    fit.rect.top = static_cast<LONG>(top);
    fit.rect.right = static_cast<LONG>(std::trunc(width * fit.scale + left));
    fit.rect.bottom = static_cast<LONG>(std::trunc(height * fit.scale + top));
    return fit;
}

std::string FormatG(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::uint32_t PackRgb(unsigned r, unsigned g, unsigned b) { return (r << 16) | (g << 8) | b; }

} // namespace

ZarnLib_ImageReader_Win::ZarnLib_ImageReader_Win() : planes(std::make_unique<ZarnLib_ImagePlanes>()) {}

ZarnLib_ImageReader_Win::~ZarnLib_ImageReader_Win() = default;

std::unique_ptr<ZarnLib_ImageReader_Win> ZarnLib_ImageReader_Win::Copy() const
{
    auto copy = std::make_unique<ZarnLib_ImageReader_Win>();
    copy->path = path;
    copy->width = width;
    copy->height = height;
    copy->pixelFormat = pixelFormat;
    if (bitmap)
        copy->bitmap = bitmap->Clone(pixelFormat);
    copy->fitRect = fitRect;
    copy->scale = scale;
    if (planes && bitmap) {
        // Planes always have the size of the bitmap they were built from.
        const std::size_t n = static_cast<std::size_t>(bitmap->GetWidth()) * bitmap->GetHeight();
        auto copyPlane = [n](const std::unique_ptr<unsigned char[]>& from) {
            std::unique_ptr<unsigned char[]> to;
            if (from) {
                to.reset(new unsigned char[n]);
                std::copy(from.get(), from.get() + n, to.get());
            }
            return to;
        };
        copy->planes->red = copyPlane(planes->red);
        copy->planes->green = copyPlane(planes->green);
        copy->planes->blue = copyPlane(planes->blue);
    }
    copy->isoValid = isoValid;
    copy->iso = iso;
    copy->exposureValid = exposureValid;
    copy->exposureTime = exposureTime;
    copy->fNumberValid = fNumberValid;
    copy->fNumber = fNumber;
    return copy;
}

void ZarnLib_ImageReader_Win::Release()
{
    bitmap.reset();
    planes.reset();
    width = 0;
    height = 0;
    pixelFormat = 0;
    scale = 0.0;
    isoValid = false;
    exposureValid = false;
    fNumberValid = false;
    iso = -1;
    exposureTime = 0.0;
    fNumber = 0.0;
}

int ZarnLib_ImageReader_Win::Load(const std::wstring& newPath, int flags, int tw, int th, RECT* fitRectOut,
                                  double* scaleOut)
{
    Release();
    path = newPath;
    const bool fitting = (flags & (kImageLoadFit | kImageLoadFitPlanes)) != 0 && tw != 0 && th != 0;
    const bool canFit = fitting && fitRectOut != nullptr && scaleOut != nullptr;

    // A fitted load may let the decoder work at a reduced size no smaller than the fitted one.
    // The choice depends only on the file and the target, so the same call always gives the
    // same pixels.
    ZarnLib_JpegCodec::NeededSize needed;
    if (canFit && tw > 0 && th > 0) {
        needed = [tw, th](std::uint32_t fw, std::uint32_t fh, std::uint32_t* nw, std::uint32_t* nh) {
            const Fit fit = ComputeFit(fw, fh, tw, th);
            const LONG w = fit.rect.right - fit.rect.left;
            const LONG h = fit.rect.bottom - fit.rect.top;
            *nw = w > 0 ? static_cast<std::uint32_t>(w) : 0;
            *nh = h > 0 ? static_cast<std::uint32_t>(h) : 0;
        };
    }
    std::uint32_t fileWidth = 0;
    std::uint32_t fileHeight = 0;
    int format = 0;
    auto decoded = ZarnLib_ImageCodec::Decode(ZarnExif_File::WideToNative(path), needed, &fileWidth, &fileHeight,
                                              &format);
    if (!decoded)
        return kImageErrorNoBitmap;
    width = fileWidth;
    height = fileHeight;
    pixelFormat = format;

    if (flags & kImageLoadExif)
        EvaluateExif();

    if (fitting) {
        if (!canFit) {
            bitmap = std::move(decoded);
            return -1;
        }
        if (tw < 0 || th < 0)
            return kImageErrorFitFailed;
        const Fit fit = ComputeFit(fileWidth, fileHeight, tw, th);
        *scaleOut = fit.scale;
        *fitRectOut = fit.rect;
        fitRect = fit.rect;
        scale = fit.scale;
        const LONG w = fit.rect.right - fit.rect.left;
        const LONG h = fit.rect.bottom - fit.rect.top;
        if (w <= 0 || h <= 0)
            return kImageErrorFitFailed;
        bitmap = ZarnLib_ImageResize::AreaResize(*decoded, static_cast<std::uint32_t>(w),
                                                 static_cast<std::uint32_t>(h), pixelFormat);
        decoded.reset();
        if (!bitmap)
            return kImageErrorFitFailed;
        width = bitmap->GetWidth();
        height = bitmap->GetHeight();
    } else {
        bitmap = std::move(decoded);
    }

    if (flags & (kImageLoadFitPlanes | kImageLoadPlanes))
        BuildPlanes();
    if (greyConversion)
        ConvertToGrey();
    return 0;
}

void ZarnLib_ImageReader_Win::BuildPlanes()
{
    const std::size_t n = static_cast<std::size_t>(width) * height;
    planes = std::make_unique<ZarnLib_ImagePlanes>();
    planes->red.reset(new unsigned char[n]);
    planes->green.reset(new unsigned char[n]);
    planes->blue.reset(new unsigned char[n]);
    const std::uint32_t* p = bitmap->Data();
    for (std::size_t i = 0; i < n; ++i) {
        planes->red[i] = static_cast<unsigned char>(p[i] >> 16);
        planes->green[i] = static_cast<unsigned char>(p[i] >> 8);
        planes->blue[i] = static_cast<unsigned char>(p[i]);
    }
}

void ZarnLib_ImageReader_Win::ConvertToGrey()
{
    auto grey = ZarnLib_Bitmap::Create(width, height, ZarnLib_Bitmap::kFormat32bppARGB);
    if (!grey)
        return;
    const auto w = static_cast<std::int64_t>(width);
    const auto h = static_cast<std::int64_t>(height);
    std::uint32_t g = 0;
    std::uint32_t previous = 0;
    auto green = [&](std::int64_t x, std::int64_t y) {
        std::uint32_t v = 0;
        if (bitmap->GetPixel(x, y, &v))
            previous = v;
        return (previous >> 8) & 0xFF;
    };
    for (std::int64_t y = 0; y < h - 2; ++y) {
        for (std::int64_t x = 0; x < w - 2; ++x) {
            // The mean of the two neighbours, without wrapping past 255.
            g = (green(x + 1, y) + green(x, y + 1)) / 2;
            grey->SetPixel(x, y, g * 65793u);
        }
    }
    for (std::int64_t y = 0; y < h - 1; ++y)
        grey->SetPixel(w - 1, y, g * 65793u);
    for (std::int64_t x = 0; x < w - 1; ++x)
        grey->SetPixel(x, h - 1, g * 65793u);
    bitmap = grey->Clone(pixelFormat);
}

void ZarnLib_ImageReader_Win::EvaluateExif()
{
    ZarnExif_ExifReader reader;
    ZarnExif_ExifTagList tags;
    if (reader.Read(path, tags) != 0)
        return;
    isoValid = exposureValid = fNumberValid = false;
    iso = 0;
    exposureTime = 0.0;
    fNumber = 0.0;

    if (const ZarnExif_ExifTag* t = ZarnExif_FindTag(tags, kTagIsoSpeedRatings)) {
        const int v = t->GetShortValue();
        if (v != 65535) {
            iso = v;
            isoValid = true;
        } else {
            const ZarnExif_ExifTag* type = ZarnExif_FindTag(tags, kTagSensitivityType);
            const ZarnExif_ExifTag* speed = ZarnExif_FindTag(tags, kTagIsoSpeed);
            if (type && speed) {
                const int st = type->GetShortValue();
                if (st == 3 || st == 5 || st == 6 || st == 7) {
                    iso = speed->GetLongValue();
                    isoValid = true;
                }
            }
        }
        if (isoValid && IsoNominalValue(iso) == -1) {
            isoValid = false;
            iso = 0;
        }
    }

    const ZarnExif_ExifTag* tv = ZarnExif_FindTag(tags, kTagShutterSpeedValue);
    const ZarnExif_ExifTag* et = ZarnExif_FindTag(tags, kTagExposureTime);
    if (tv && tv->denominator != 0) {
        int ok = 0;
        const double value = tv->GetSignedRational(&ok);
        double seconds = 0.0;
        if (ok && ApexTvToSeconds(value, &seconds)) {
            exposureTime = seconds;
            exposureValid = true;
        }
    } else if (et && et->denominator != 0) {
        int ok = 0;
        const double t = et->GetUnsignedRational(&ok);
        // A time of 0, below 0 or not finite is no exposure time at all.
        if (ok && std::isfinite(t) && t > 0.0 && SecondsToShutterIndex(t) != -1) {
            exposureTime = t;
            exposureValid = true;
        }
    }

    const ZarnExif_ExifTag* fn = ZarnExif_FindTag(tags, kTagFNumber);
    const ZarnExif_ExifTag* av = ZarnExif_FindTag(tags, kTagApertureValue);
    if (fn && fn->denominator != 0) {
        int ok = 0;
        const double f = fn->GetUnsignedRational(&ok);
        if (ok && FNumberToApertureIndex(f) != -1) {
            fNumber = f;
            fNumberValid = true;
        }
    } else if (av && av->denominator != 0) {
        int ok = 0;
        const double value = av->GetUnsignedRational(&ok);
        double f = 0.0;
        if (ok && ApexAvToFNumber(value, &f)) {
            fNumber = f;
            fNumberValid = true;
        }
    }
}

int ZarnLib_ImageReader_Win::AdjustBrightness(int amount)
{
    if (!bitmap || !planes || !planes->red || !planes->green || !planes->blue)
        return -1;
    const int a = amount <= 0 ? amount : static_cast<int>(std::trunc(amount / 4.5));
    const double factor = a / 108.0;
    auto adjust = [factor](unsigned char p) {
        double v = p + std::trunc(p * factor);
        v = std::clamp(v, 0.0, 255.0);
        return static_cast<std::uint32_t>(v);
    };
    const std::size_t n = static_cast<std::size_t>(bitmap->GetWidth()) * bitmap->GetHeight();
    if (n != static_cast<std::size_t>(width) * height)
        return -1;
    std::uint32_t* p = bitmap->Data();
    for (std::size_t i = 0; i < n; ++i)
        p[i] = PackRgb(adjust(planes->red[i]), adjust(planes->green[i]), adjust(planes->blue[i]));
    return 0;
}

void ZarnLib_ImageReader_Win::SetSavePath(const std::string& folder)
{
    // The folder keeps a trailing separator. Backslash paths (the stored form) get a backslash;
    // on this platform a path written with slashes only gets a slash instead.
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') {
        savePath = folder;
        return;
    }
    const bool slashesOnly = folder.find('\\') == std::string::npos && folder.find('/') != std::string::npos;
    savePath = folder + (slashesOnly ? '/' : '\\');
}

int ZarnLib_ImageReader_Win::Save()
{
    static const char* const kMime[] = {"image/bmp", "image/png", "image/jpeg", "image/gif", "image/tiff"};
    static const char* const kExtension[] = {".bmp", ".png", ".jpg", ".gif", ".tif"};
    // A format outside the table is saved as BMP, under the BMP extension.
    const int index = (saveFormat >= 0 && saveFormat <= 4) ? saveFormat : 0;
    const std::string mime = kMime[index];
    if (!ZarnLib_ImageCodec::HasEncoder(mime) || !bitmap)
        return -1;
    const std::wstring fileName = FileNameOfPath(path);
    std::string name = ZarnExif_File::WideToNative(fileName);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    const std::string composed = savePath + name + kExtension[index];
    if (composed.size() >= kSaveNameBuffer)
        return -1;
    return ZarnLib_ImageCodec::Encode(*bitmap, mime, composed) ? 0 : -1;
}

int ZarnLib_ImageReader_Win::GetBitmap(const ZarnLib_Bitmap** out) const
{
    if (!bitmap || !out)
        return -1;
    *out = bitmap.get();
    return 0;
}

int ZarnLib_ImageReader_Win::GetWidth(unsigned* out) const
{
    if (!out)
        return -1;
    *out = width;
    return 0;
}

int ZarnLib_ImageReader_Win::GetHeight(unsigned* out) const
{
    if (!out)
        return -1;
    *out = height;
    return 0;
}

int ZarnLib_ImageReader_Win::GetScale(double* out) const
{
    if (!out)
        return -1;
    *out = scale;
    return 0;
}

int ZarnLib_ImageReader_Win::GetFitRect(RECT* out) const
{
    if (!out)
        return -1;
    *out = fitRect;
    return 0;
}

int ZarnLib_ImageReader_Win::GetPath(std::wstring* out) const
{
    if (!out)
        return -1;
    *out = path;
    return 0;
}

int ZarnLib_ImageReader_Win::GetPlanes(const ZarnLib_ImagePlanes** out) const
{
    if (!out || !planes || !planes->red || !planes->green || !planes->blue)
        return -1;
    *out = planes.get();
    return 0;
}

std::unique_ptr<ZarnLib_ImagePlanes> ZarnLib_ImageReader_Win::GetRowPixels(int count, int x, int y) const
{
    if (count <= 0)
        return nullptr;
    auto row = std::make_unique<ZarnLib_ImagePlanes>();
    row->red.reset(new unsigned char[static_cast<std::size_t>(count)]);
    row->green.reset(new unsigned char[static_cast<std::size_t>(count)]);
    row->blue.reset(new unsigned char[static_cast<std::size_t>(count)]);
    std::uint32_t last = 0;
    for (int i = 0; i < count; ++i) {
        std::uint32_t v = 0;
        if (bitmap && bitmap->GetPixel(static_cast<std::int64_t>(x) + i, y, &v))
            last = v;
        row->red[i] = static_cast<unsigned char>(last >> 16);
        row->green[i] = static_cast<unsigned char>(last >> 8);
        row->blue[i] = static_cast<unsigned char>(last);
    }
    return row;
}

std::array<unsigned char, 3> ZarnLib_ImageReader_Win::GetPixel(int x, int y) const
{
    std::uint32_t v = 0;
    if (!bitmap || !bitmap->GetPixel(x, y, &v))
        return {0, 0, 0};
    return {static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
}

int ZarnLib_ImageReader_Win::SetPixel(int x, int y, int red, int green, int blue)
{
    if (!bitmap || x < 0 || y < 0 || static_cast<std::int64_t>(x) >= static_cast<std::int64_t>(width) ||
        static_cast<std::int64_t>(y) >= static_cast<std::int64_t>(height))
        return -1;
    if (red < 0 || red > 255 || green < 0 || green > 255 || blue < 0 || blue > 255)
        return -1;
    if (!bitmap->SetPixel(x, y, PackRgb(static_cast<unsigned>(red), static_cast<unsigned>(green),
                                        static_cast<unsigned>(blue))))
        return -1;
    return 0;
}

int ZarnLib_ImageReader_Win::GetIso(int* out) const
{
    if (!out || !isoValid || iso <= 0)
        return -1;
    *out = iso;
    return 0;
}

int ZarnLib_ImageReader_Win::GetExposureTime(double* out) const
{
    if (!out || !exposureValid || exposureTime == kImageValueAbsent)
        return -1;
    *out = exposureTime;
    return 0;
}

int ZarnLib_ImageReader_Win::GetFNumber(double* out) const
{
    if (!out || !fNumberValid || fNumber == kImageValueAbsent)
        return -1;
    *out = fNumber;
    return 0;
}

int ZarnLib_ImageReader_Win::GetIsoText(std::string* out) const
{
    int v = 0;
    if (!out || GetIso(&v) != 0)
        return -1;
    *out = FormatG(v);
    return 0;
}

int ZarnLib_ImageReader_Win::GetExposureTimeText(std::string* out) const
{
    double v = 0;
    if (!out || GetExposureTime(&v) != 0 || !(v > 0.0))
        return -1;
    *out = FormatG(v);
    return 0;
}

int ZarnLib_ImageReader_Win::GetFNumberText(std::string* out) const
{
    double v = 0;
    if (!out || GetFNumber(&v) != 0)
        return -1;
    *out = FormatG(v);
    return 0;
}

int ZarnLib_ImageReader_Win::SetPath(const std::wstring& newPath)
{
    path = newPath;
    return 0;
}

int ZarnLib_ImageReader_Win::SetWidth(unsigned value)
{
    width = value;
    return 0;
}

int ZarnLib_ImageReader_Win::SetHeight(unsigned value)
{
    height = value;
    return 0;
}
