// Chart corner search in a loaded picture and the geometric checks of a chart outline.
// Corner sets are four points in the order top-left, top-right, bottom-right, bottom-left.
#pragma once

#include "platform/WinTypes.h"

class ZarnLib_Image;

// Looks for the chart's corner markers near the four corners of an image loaded with colour
// planes. The points are in view coordinates (pixel plus fit origin). True when all four corners
// are known after completing missing ones from their neighbours; points neither found nor
// completed keep the caller's values. An image smaller than twice the marker window in either
// direction gives false.
bool FindChartCorners(const ZarnLib_Image* image, int chartKind, POINT* tl, POINT* tr, POINT* br, POINT* bl);

// True when the window holds a corner marker: the cross test for kinds 1, 2, 3 and 6, the uniform
// test for every other kind. Windows are indexed [col][row]. The cross test writes the marker's
// position inside the window to `position`.
bool MarkerTest(int width, int height, int chartKind, const unsigned char* const* red,
                const unsigned char* const* green, const unsigned char* const* blue, POINT* position);

// Marker window size of a chart kind: 35 for kinds 4 and 5, else 21.
int MarkerWindowSize(int chartKind);
// True for the kinds whose marker is a cross (1, 2, 3, 6).
bool UsesCrossMarker(int chartKind);

// True when P1 P2 P3 P4 is a strictly convex outline turning clockwise on screen.
bool IsConvexQuad(LONG x1, LONG y1, LONG x2, LONG y2, LONG x3, LONG y3, LONG x4, LONG y4);
// 1 when corners[0..3] (TL, TR, BR, BL) form a usable chart outline, else 0.
int CheckChartCorners(const POINT corners[4]);
bool IsPositiveTurn(LONG x1, LONG y1, LONG x2, LONG y2, LONG x3, LONG y3);
