#include "profilelib/ZarnLib_Image.h"

ZarnLib_Image::ZarnLib_Image(const ZarnLib_Image& other)
{
    if (other.impl)
        impl = other.impl->Copy();
}

ZarnLib_Image& ZarnLib_Image::operator=(const ZarnLib_Image& other)
{
    if (this != &other)
        impl = other.impl ? other.impl->Copy() : nullptr;
    return *this;
}

int ZarnLib_Image::Reset()
{
    impl = std::make_unique<ZarnLib_ImageReader_Win>();
    return 0;
}

int ZarnLib_Image::Load(const std::wstring& path, int flags, int targetWidth, int targetHeight, RECT* fitRect,
                        double* scale)
{
    return impl ? impl->Load(path, flags, targetWidth, targetHeight, fitRect, scale) : -1;
}

int ZarnLib_Image::Release()
{
    if (!impl)
        return -1;
    impl->Release();
    return 0;
}

int ZarnLib_Image::AdjustBrightness(int amount) { return impl ? impl->AdjustBrightness(amount) : -1; }
int ZarnLib_Image::Save() { return impl ? impl->Save() : -1; }

int ZarnLib_Image::SetSaveFormat(int format)
{
    if (!impl)
        return -1;
    impl->SetSaveFormat(format);
    return 0;
}

int ZarnLib_Image::SetSavePath(const std::string& folder)
{
    if (!impl)
        return -1;
    impl->SetSavePath(folder);
    return 0;
}

int ZarnLib_Image::SetGreyConversion(bool on)
{
    if (!impl)
        return -1;
    impl->SetGreyConversion(on);
    return 0;
}

int ZarnLib_Image::GetBitmap(const ZarnLib_Bitmap** out) const { return impl ? impl->GetBitmap(out) : -1; }
int ZarnLib_Image::GetWidth(unsigned* out) const { return impl ? impl->GetWidth(out) : -1; }
int ZarnLib_Image::GetHeight(unsigned* out) const { return impl ? impl->GetHeight(out) : -1; }
int ZarnLib_Image::GetScale(double* out) const { return impl ? impl->GetScale(out) : -1; }
int ZarnLib_Image::GetFitRect(RECT* out) const { return impl ? impl->GetFitRect(out) : -1; }
int ZarnLib_Image::GetPath(std::wstring* out) const { return impl ? impl->GetPath(out) : -1; }
int ZarnLib_Image::GetPlanes(const ZarnLib_ImagePlanes** out) const { return impl ? impl->GetPlanes(out) : -1; }

std::unique_ptr<ZarnLib_ImagePlanes> ZarnLib_Image::GetRowPixels(int count, int x, int y) const
{
    return impl ? impl->GetRowPixels(count, x, y) : nullptr;
}

std::array<unsigned char, 3> ZarnLib_Image::GetPixel(int x, int y) const
{
    return impl ? impl->GetPixel(x, y) : std::array<unsigned char, 3>{0, 0, 0};
}

int ZarnLib_Image::SetPixel(int x, int y, int red, int green, int blue)
{
    return impl ? impl->SetPixel(x, y, red, green, blue) : -1;
}

int ZarnLib_Image::GetIso(int* out) const { return impl ? impl->GetIso(out) : -1; }
int ZarnLib_Image::GetExposureTime(double* out) const { return impl ? impl->GetExposureTime(out) : -1; }
int ZarnLib_Image::GetFNumber(double* out) const { return impl ? impl->GetFNumber(out) : -1; }
int ZarnLib_Image::GetIsoText(std::string* out) const { return impl ? impl->GetIsoText(out) : -1; }
int ZarnLib_Image::GetExposureTimeText(std::string* out) const { return impl ? impl->GetExposureTimeText(out) : -1; }
int ZarnLib_Image::GetFNumberText(std::string* out) const { return impl ? impl->GetFNumberText(out) : -1; }
