// Test double of one profile table: a single straight curve of `slope` levels per EV that passes
// the stored CNT level at EV 0, clipped to levels 0..255. Storing new points with another CNT
// level moves the curve, as the profile library does. Look-ups can be made to fail on demand.
#pragma once

#include "profilelib/ZarnLib_CurveTools.h"
#include "ui/views/CKZARN_EditTableAccess.h"

class LinearTable final : public CKZARN_EditTableAccess {
public:
    explicit LinearTable(double newSlope = 20.0) : slope(newSlope) {}

    double ev[5] = {-5.0, -4.0, 0.0, 4.0, 5.0};
    double level[5] = {18, 38, 118, 198, 218};
    double further = 0.25;
    int setCalls = 0;
    // Inverse look-ups left before they start failing (-1: never), and a switch for GetTablePoints.
    int inverseBudget = -1;
    bool failGetPoints = false;
    bool failCurve = false;

    int SetTablePoints(const double newEv[5], const double newLevel[5]) override
    {
        ++setCalls;
        for (int i = 0; i < 5; ++i) {
            ev[i] = newEv[i];
            level[i] = newLevel[i];
        }
        return 0;
    }
    int GetTablePoints(double outEv[5], double outLevel[5], double* outFurther) override
    {
        if (failGetPoints) {
            return -1;
        }
        for (int i = 0; i < 5; ++i) {
            outEv[i] = ev[i];
            outLevel[i] = level[i];
        }
        *outFurther = further;
        return 0;
    }
    int GetTableCurve(ZarnLib_Buffer<ZarnLib_CnvPolyLine>* shown,
                      ZarnLib_Buffer<ZarnLib_CnvPolyLine>* conversion) override
    {
        if (failCurve) {
            return -1;
        }
        const double centre = level[kEditCnt];
        const _ZARNLIB_VECTOR2 line[2] = {{-centre / slope, 0.0}, {(255.0 - centre) / slope, 255.0}};
        for (auto* list : {shown, conversion}) {
            if (list != nullptr) {
                list->Alloc(1, true);
                (*list)[0].SetPoints(line, 2, false);
            }
        }
        return 0;
    }
    int LevelAt(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, double x, double* out) override
    {
        return LevelAtAnyCurve(curves, x, out);
    }
    int LevelAtInverse(const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves, double y, double* out) override
    {
        if (inverseBudget == 0) {
            return -1;
        }
        if (inverseBudget > 0) {
            --inverseBudget;
        }
        return LevelAtInverseAnyCurve(curves, y, out);
    }

private:
    double slope;
};
