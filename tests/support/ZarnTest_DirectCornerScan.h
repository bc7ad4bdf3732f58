// Test oracle: the corner search done the direct way, copying an N x N window from the three
// planes for every candidate position and calling MarkerTest on it. The library's search must
// give the same result and the same corners on every image.
#pragma once

#include "platform/WinTypes.h"

class ZarnLib_Image;

class ZarnTest_DirectCornerScan {
public:
    static bool Find(const ZarnLib_Image* image, int chartKind, POINT* tl, POINT* tr, POINT* br, POINT* bl);
};
