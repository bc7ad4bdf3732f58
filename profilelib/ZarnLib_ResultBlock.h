// The five characteristic points of one metering block (incident or reflected light), stored in
// ascending EV order CPM, DRM, CNT, DRP, CPP, with the block's EV adjustment.
#pragma once

#include "profilelib/ZarnLib_Vector2.h"

// Storage slots of the five points (x = EV, y = 8-bit level).
enum ZarnLib_PointSlot { kSlotCpm = 0, kSlotDrm = 1, kSlotCnt = 2, kSlotDrp = 3, kSlotCpp = 4 };

// Operations pass the five points in the order CPM, DRM, DRP, CPP, CNT; this maps a position in
// that order to its storage slot. The four limit points are the first four of it.
inline constexpr int kPassOrderSlot[5] = {kSlotCpm, kSlotDrm, kSlotDrp, kSlotCpp, kSlotCnt};

struct ZarnLib_ResultBlock {
    unsigned char valid = 0;
    _ZARNLIB_VECTOR2 points[5] = {};
    double adjustment = 0.0;
};
