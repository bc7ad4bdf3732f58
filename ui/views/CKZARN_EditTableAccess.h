// What the editor's value rules need of one table of a profile: its five points, its curves and the
// conversions between EV and level on a given curve list. The profile editor hands in the profile
// library's table (CKZARN_ProfileTableAccess); tests hand in a curve of their own.
#pragma once

#include "profilelib/ZarnLib_Buffer.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "ui/views/CharacteristicPoints.h"

// The five points in screen order: CPM, DRM, CNT, DRP, CPP.
enum EditPointIndex {
    kEditCpm = CharacteristicPoints::kCPM,
    kEditDrm = CharacteristicPoints::kDRM,
    kEditCnt = CharacteristicPoints::kCNT,
    kEditDrp = CharacteristicPoints::kDRP,
    kEditCpp = CharacteristicPoints::kCPP
};

class CKZARN_EditTableAccess {
public:
    virtual ~CKZARN_EditTableAccess() = default;
    // Stores the five points into the table (levels as doubles); 0 on success.
    virtual int SetTablePoints(const double ev[5], const double level[5]) = 0;
    // Reads the five points and the further value; 0 on success.
    virtual int GetTablePoints(double ev[5], double level[5], double* further) = 0;
    // The table's curves: shown polylines and the conversion polylines; 0 on success.
    virtual int GetTableCurve(ZarnLib_Buffer<ZarnLib_CnvPolyLine>* shown,
                              ZarnLib_Buffer<ZarnLib_CnvPolyLine>* conversion) = 0;
    // EV to level and level to EV on the given conversion curves; 0 on success.
    virtual int LevelAt(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, double ev, double* level) = 0;
    virtual int LevelAtInverse(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, double level, double* ev) = 0;
};
