#include "ui/views/CKZARN_ProfileTableAccess.h"

#include "profilelib/ZarnLib_Profile.h"

namespace {

// Screen position of library position i (CPM, DRM, DRP, CPP, CNT).
constexpr int kScreenOfLibrary[5] = {kEditCpm, kEditDrm, kEditDrp, kEditCpp, kEditCnt};

} // namespace

int CKZARN_ProfileTableAccess::SetTablePoints(const double ev[5], const double level[5])
{
    if (profile == nullptr) {
        return -1;
    }
    _ZARNLIB_VECTOR2 five[5];
    for (int i = 0; i < 5; ++i) {
        five[i] = {ev[kScreenOfLibrary[i]], level[kScreenOfLibrary[i]]};
    }
    return profile->SetTablePoints(key, block, five);
}

int CKZARN_ProfileTableAccess::GetTablePoints(double ev[5], double level[5], double* further)
{
    if (profile == nullptr) {
        return -1;
    }
    _ZARNLIB_VECTOR2 five[5];
    double extra = 0.0;
    if (profile->GetTablePoints(key, block, five, &extra) != 0) {
        return -1;
    }
    for (int i = 0; i < 5; ++i) {
        ev[kScreenOfLibrary[i]] = five[i].x;
        level[kScreenOfLibrary[i]] = five[i].y;
    }
    if (further != nullptr) {
        *further = extra;
    }
    return 0;
}

int CKZARN_ProfileTableAccess::GetTableCurve(ZarnLib_Buffer<ZarnLib_CnvPolyLine>* shown,
                                             ZarnLib_Buffer<ZarnLib_CnvPolyLine>* conversion)
{
    if (profile == nullptr) {
        return -1;
    }
    return profile->GetTableCurve(key, block, shown, conversion);
}

int CKZARN_ProfileTableAccess::LevelAt(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, double ev, double* level)
{
    if (profile == nullptr) {
        return -1;
    }
    return profile->LevelAt(key, block, level, ev, &curves);
}

int CKZARN_ProfileTableAccess::LevelAtInverse(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, double level,
                                              double* ev)
{
    if (profile == nullptr) {
        return -1;
    }
    return profile->LevelAtInverse(key, block, ev, level, &curves);
}
