// Exposure scales: aperture index 0..49, shutter index 0..81, tenths of a stop, nominal ISO speeds,
// frame-rate and shutter-angle codes; their exact values, APEX values, display texts and the range
// tables that map measured values back to indices. Pure functions over constant tables.
#pragma once

#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ScaleRange.h"

inline constexpr int kApertureIndexMax = 49;
inline constexpr int kShutterIndexMax = 81;
inline constexpr int kTenthsMax = 9;
// Exposure times shorter than this have no shutter index of their own.
inline constexpr double kShortestShutterSeconds = 1.40625e-5;
// Value returned by the APEX functions for an index outside its scale.
inline constexpr double kInvalidApex = -9999.9999;

double ApertureIndexToAv(int index);
double ShutterIndexToTv(int index);
double ApertureIndexToFNumber(int index);
double ShutterIndexToSeconds(int index);

int FNumberToApertureIndex(double fNumber);
int SecondsToShutterIndex(double seconds);
int IsoNominalValue(int iso);
int CineShutterIndex(double frameRate, double shutterAngle);

// Rounds half away from zero after scaling by 10^decimals (a negative count leaves x unscaled and
// unrounded) and truncates to int; false (output untouched) for more than 9 decimals, for a result
// outside the int range, or for NaN.
bool RoundToDecimals(double x, int decimals, int* out);

// The range tables, each ended by a row of index -1.
const ZarnLib_ScaleRange* FNumberRangeTable();
const ZarnLib_ScaleRange* SecondsRangeTable();
const ZarnLib_ScaleRange* ApexTvRangeTable();
const ZarnLib_ScaleRange* ApexAvRangeTable();
// The index of the first row that holds the value; -1 when none does or a rounding fails.
int LookupScaleRange(const ZarnLib_ScaleRange* table, double value);

// True when the process locale writes a decimal comma (formatting 5.5 with "%f" yields a comma).
bool UsesDecimalComma();

// Display texts; 0 and the text assigned to `out`, or -1 (out untouched) for an unknown code or
// a null output.
int ApertureIndexToText(int index, ZarnLibString* out);
int ShutterIndexToText(int index, ZarnLibString* out);
int IsoValueToText(int iso, ZarnLibString* out);
int FrameRateCodeToText(int code, ZarnLibString* out);
int ShutterAngleCodeToText(int code, ZarnLibString* out);

// The angle of the line through two points, in radians, folded into [-pi/2, pi/2] and negated
// (image y grows downwards); 0 for two equal points. Always returns 0.
int LineAngle(double x1, double y1, double x2, double y2, double* angle);

// The rounding of cine readings: 10 v rounded half away from zero to an integer, divided by 10.
double RoundToTenths(double v);
