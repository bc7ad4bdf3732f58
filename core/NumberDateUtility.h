// Number, text, date and rectangle helpers of the main program's windows.
#pragma once

#include "core/COleDateTime.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <string>
#include <vector>

// Splits at every occurrence of the separator text, trimming each piece; appends to out and returns
// its element count. Every call adds at least one element. An empty separator adds the trimmed text.
int SplitTokens(const std::string& text, const std::string& separator, std::vector<std::string>& out);
std::string FormatUInt64(std::uint64_t value, int width, BOOL hexadecimal);
// 0 for a text holding anything but digits; stops before an addition that would overflow.
std::uint64_t DigitTextToUInt64(const std::string& text);
// "YYYY:MM:DD:hh:mm:ss", or with the Exif form "YYYY:MM:DD hh:mm:ss"; invalid unless the fields name
// a real date and time.
void ParseDateTime(COleDateTime& out, const std::string& text, int exifForm);
// The picture's aspect ratio fitted and centred in the destination, clipped to it. The flag becomes
// 0 when the width decided and 1 when the height did. A picture without area gives an empty rectangle
// at the destination's centre.
RECT& FitPictureInRect(RECT& out, const RECT& destination, const RECT& picture, int* flag);
// Each coordinate c becomes trunc(c * factor + 0.4999999).
void ScaleRect(RECT& out, const RECT& in, double factor);
