#include "profilelib/ZarnExif_ExifTag.h"

#include <cstdint>

namespace {
bool IsRational(int type) { return type == 5 || type == 10; }
} // namespace

double ZarnExif_ExifTag::GetUnsignedRational(int* ok) const
{
    if (!IsRational(type))
        return 0.0;
    if (denominator == 0) {
        if (ok)
            *ok = 0;
        return 0.0;
    }
    if (ok)
        *ok = 1;
    return static_cast<double>(static_cast<std::uint32_t>(value)) /
           static_cast<double>(static_cast<std::uint32_t>(denominator));
}

double ZarnExif_ExifTag::GetSignedRational(int* ok) const
{
    if (!IsRational(type))
        return 0.0;
    if (denominator == 0) {
        if (ok)
            *ok = 0;
        return 0.0;
    }
    if (ok)
        *ok = 1;
    return static_cast<double>(value) / static_cast<double>(denominator);
}
