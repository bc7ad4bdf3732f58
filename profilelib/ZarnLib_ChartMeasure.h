// Measurement of a chart photograph: the mean green level of a 40 x 40 square in the middle of
// each used patch becomes one measured curve of a profile table.
#pragma once

#include "platform/WinTypes.h"
#include "profilelib/ZarnLib_EntryKey.h"
#include "profilelib/ZarnLib_PatchKey.h"

#include <string>

class ZarnLib_ChartPatchFlatness;
class ZarnLib_Profile;

// 0 on success. -1 when a cine setting cannot be converted, the chart kind is not 1 to 6, the
// chart is too small, a sampling square lies partly outside the photograph, or the profile
// refuses the entry; otherwise the non-zero result of loading the photograph. The profile is
// changed only on success; a null profile measures without adding anything. A flatness, when
// given, receives on success every used patch with the halves of its middle measured as well
// (the curve is the same either way).
int MeasureChartPhoto(std::wstring path, POINT tl, POINT tr, POINT br, POINT bl, int chartKind,
                      ZarnLib_PatchKey tableKey, ZarnLib_EntryKey photoKey, ZarnLib_Profile* profile,
                      ZarnLib_ChartPatchFlatness* flatness = nullptr);

// The angle folded into (-180, 180] and converted to radians; 0 or less counts as negative.
double DegreesToRadians(double degrees);
// out = other x self for 3 x 3 row-order matrices applied to row vectors (x, y, 1): the product
// applies `other` first.
void MultiplyAffine(const double self[9], const double other[9], double out[9]);
