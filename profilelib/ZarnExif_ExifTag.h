// One directory entry of a TIFF or Exif structure: tag number, type, count, numeric value and the
// value as text.
#pragma once

#include <string>
#include <vector>

class ZarnExif_ExifTag {
public:
    int tag = 0;
    int type = 7;
    std::string text;
    int count = 0;
    int value = 0;
    int denominator = 0;

    int GetShortValue() const { return value & 0xFFFF; }
    int GetLongValue() const { return value; }
    int GetByteValue() const { return value & 0xFF; }

    // For RATIONAL and SRATIONAL only: value / denominator as unsigned (or signed) 32-bit numbers.
    // A zero denominator gives 0 and *ok = 0; other types give 0 and leave *ok alone.
    double GetUnsignedRational(int* ok) const;
    double GetSignedRational(int* ok) const;

    std::string GetText() const { return text; }
    void SetText(const std::string& newText) { text = newText; }
};

using ZarnExif_ExifTagList = std::vector<ZarnExif_ExifTag>;
