// The editor's table access over the profile library: one table of a ZarnLib_Profile chosen by key
// and block. The library passes five points as CPM, DRM, DRP, CPP, CNT; this class converts from
// and to the screen order CPM, DRM, CNT, DRP, CPP.
#pragma once

#include "profilelib/ZarnLib_PatchKey.h"
#include "ui/views/CKZARN_EditTableAccess.h"

class ZarnLib_Profile;

class CKZARN_ProfileTableAccess final : public CKZARN_EditTableAccess {
public:
    CKZARN_ProfileTableAccess(ZarnLib_Profile* newProfile, const ZarnLib_PatchKey& newKey, int newBlock)
        : profile(newProfile), key(newKey), block(newBlock)
    {
    }

    int SetTablePoints(const double ev[5], const double level[5]) override;
    int GetTablePoints(double ev[5], double level[5], double* further) override;
    int GetTableCurve(ZarnLib_Buffer<ZarnLib_CnvPolyLine>* shown,
                      ZarnLib_Buffer<ZarnLib_CnvPolyLine>* conversion) override;
    int LevelAt(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, double ev, double* level) override;
    int LevelAtInverse(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, double level, double* ev) override;

private:
    ZarnLib_Profile* profile;
    ZarnLib_PatchKey key;
    int block;
};
