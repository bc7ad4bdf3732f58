// The profile editor's data: the five points of the table being edited, the table's curves and
// their domain, and the rules by which a dragged or typed EV or level of one point is rounded,
// snapped to a neighbouring point, refused or accepted, and by which a new medium-grey level
// rebuilds the table's curves around it. No Qt: the editor window calls in and shows the result.
//
// Every edit works on a copy of the points and commits it only when the edit is accepted, so a
// refused edit, or a failed curve look-up in the middle of one, leaves the points and the table as
// they were.
#pragma once

#include "ui/views/CKZARN_EditTableAccess.h"

#include <string>

class CKZARN_EditValueRules {
public:
    // How a value arrived: dragged in the graph (unrounded), Enter in its field, or the field left.
    static constexpr int kModeDragged = 0;
    static constexpr int kModeEntered = 1;
    static constexpr int kModeLeft = 2;

    // The nine fields: four EVs and five levels.
    static constexpr int kEvCpp = 1023;
    static constexpr int kEvDrp = 1024;
    static constexpr int kEvDrm = 1027;
    static constexpr int kEvCpm = 1032;
    static constexpr int kLevelCpp = 1066;
    static constexpr int kLevelDrp = 1067;
    static constexpr int kLevelCnt = 1068;
    static constexpr int kLevelDrm = 1069;
    static constexpr int kLevelCpm = 1070;

    struct Outcome {
        bool refused = false;
        bool changed = false;        // the point took a new value
        bool centreAccepted = false; // an accepted CNT level: the caller reads the table again
        int point = -1;              // the point of the field (EditPointIndex), -1 for an unknown field
    };

    CKZARN_EditValueRules() = default;
    CKZARN_EditValueRules(const CKZARN_EditValueRules&) = delete;
    CKZARN_EditValueRules& operator=(const CKZARN_EditValueRules&) = delete;

    // The table edited from now on (null: none). Nothing is read until ReadTable.
    void Attach(CKZARN_EditTableAccess* newAccess) { access = newAccess; }

    // Default points, empty curves; then, with a table, its curves and its points moved onto the
    // curves (EVs taken again from the levels, points off the curves clamped into their domain).
    // True when the table has a curve.
    bool ReadTable();

    Outcome Apply(int controlId, double value, int mode);
    // Rebuilds the table's curves around a new CNT level; 1 done, 0 refused (points and table as
    // they were).
    int RebuildCurve(int newLevel);
    // Writes the current points into the table; 0 on success.
    int StorePoints();

    const CharacteristicPoints& Points() const { return points; }
    bool HasCurve() const { return hasCurve; }
    double MinEv() const { return minEv; }
    double MaxEv() const { return maxEv; }
    double MinLevel() const { return minLevel; }
    double MaxLevel() const { return maxLevel; }
    const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& ShownCurves() const { return shown; }
    const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& ConversionCurves() const { return conversion; }

    // An EV in tenths, rounded half away from zero (zero counts as positive).
    static int Tenths(double v);
    // An EV rounded to 0.1 half away from zero.
    static double RoundEv(double v);
    // A level rounded to an integer half away from zero.
    static int RoundLevel(double l);
    // "%.1f" when the EV rounds to 0, else "%+.1f" of the rounded EV, with the given decimal
    // character (written without the C library, so the process locale plays no part).
    static std::string FormatEv(double ev, char decimal);

private:
    Outcome ApplyEv(int point, double v, int mode);
    Outcome ApplyLevel(int point, double l, int mode);
    int RebuildOn(CharacteristicPoints* work, int newLevel);
    int StoreSet(const CharacteristicPoints& set);

    CKZARN_EditTableAccess* access = nullptr;
    CharacteristicPoints points;
    bool hasCurve = false;
    double maxLevel = 255.0;
    double maxEv = 0.0;
    double minLevel = 0.0;
    double minEv = 0.0;
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> shown;
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> conversion;
};
