// Edits of the wizard's five result points (typed or stepped in the result table, dragged on the
// result graph): keeps them ordered, within the EV limits and on the measured characteristic, and
// stores them into both blocks of the run's table. An edit works on a copy of the points; the
// points and the table change only when the edit succeeds, so a refused edit leaves both as they
// were. A new centre level re-bases the whole characteristic.
#pragma once

#include "profilelib/ZarnLib_Buffer.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_PatchKey.h"
#include "ui/views/CharacteristicPoints.h"

class ZarnLib_Profile;

class WizardResultEditor {
public:
    using CurveList = ZarnLib_Buffer<ZarnLib_CnvPolyLine>;

    static constexpr int kFailed = -10001;
    // Sources of an edit.
    static constexpr int kFromGraph = 0;
    static constexpr int kFromStep = 1;
    static constexpr int kFromTyping = 2;

    WizardResultEditor(ZarnLib_Profile* profile, ZarnLib_PatchKey key, CharacteristicPoints* points,
                       CurveList* curves, CurveList* evaluationCurves, int expandedRange);

    // Applies one edit: kind 0..4 the EV and 5..9 the level of CPM, DRM, CNT, DRP, CPP (kind 2, the
    // centre EV, is never edited). 0 when applied or unchanged, kFailed when refused.
    int Apply(int kind, double value, int source);
    // Re-bases the characteristic on a new centre level; 1 when done, 0 otherwise (block 0 as before).
    int Recalculate(int level, const CharacteristicPoints& before);
    // Whether the last successful edit re-based the table (the pages then redraw in full).
    bool Rebased() const { return rebased_; }

    // Tenths rounded half away from zero.
    static double RoundTenths(double value);
    static int RoundLevel(double value);

private:
    int ApplyEv(int point, double value, int source, CharacteristicPoints* work);
    int ApplyLevel(int point, double value, CharacteristicPoints* work);
    int ApplyCentre(double value, CharacteristicPoints* work);
    int StorePoints(int block, const CharacteristicPoints& points);
    int ReadPoints(CharacteristicPoints* points);
    double Lo() const { return expandedRange_ ? -10.0 : -7.0; }
    double Hi() const { return expandedRange_ ? 10.0 : 7.0; }

    ZarnLib_Profile* profile_;
    ZarnLib_PatchKey key_;
    CharacteristicPoints* points_;
    CurveList* curves_;
    CurveList* evaluationCurves_;
    int expandedRange_;
    bool rebased_ = false;
};
