#include "ui/wizard/WizardResultEditor.h"

#include "profilelib/ZarnLib_CurveTools.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_Vector2.h"

#include <cmath>

namespace {

// Library argument order CPM, DRM, DRP, CPP, CNT against the screen order CPM, DRM, CNT, DRP, CPP.
constexpr int kScreenOf[5] = {0, 1, 3, 4, 2};

bool Below(double a, double b)
{
    return WizardResultEditor::RoundTenths(a) < WizardResultEditor::RoundTenths(b);
}

} // namespace

WizardResultEditor::WizardResultEditor(ZarnLib_Profile* profile, ZarnLib_PatchKey key, CharacteristicPoints* points,
                                       CurveList* curves, CurveList* evaluationCurves, int expandedRange)
    : profile_(profile),
      key_(key),
      points_(points),
      curves_(curves),
      evaluationCurves_(evaluationCurves),
      expandedRange_(expandedRange)
{
}

double WizardResultEditor::RoundTenths(double value)
{
    return std::copysign(std::trunc(std::fabs(value) * 10 + 0.5), value) / 10.0;
}

int WizardResultEditor::RoundLevel(double value)
{
    return static_cast<int>(std::copysign(std::trunc(std::fabs(value) + 0.5), value));
}

int WizardResultEditor::StorePoints(int block, const CharacteristicPoints& points)
{
    _ZARNLIB_VECTOR2 five[5];
    for (int i = 0; i < 5; ++i) {
        five[i].x = points.ev[kScreenOf[i]];
        five[i].y = points.level[kScreenOf[i]];
    }
    return profile_->SetTablePoints(key_, block, five);
}

int WizardResultEditor::ReadPoints(CharacteristicPoints* points)
{
    _ZARNLIB_VECTOR2 five[5];
    double extra = 0.0;
    const int error = profile_->GetTablePoints(key_, 0, five, &extra);
    if (error != 0)
        return error;
    for (int i = 0; i < 5; ++i) {
        points->ev[kScreenOf[i]] = five[i].x;
        points->level[kScreenOf[i]] = static_cast<int>(std::lround(five[i].y));
    }
    points->further = extra;
    return 0;
}

int WizardResultEditor::Apply(int kind, double value, int source)
{
    rebased_ = false;
    CharacteristicPoints work = *points_;
    int result = kFailed;
    if (kind == 0 || kind == 1 || kind == 3 || kind == 4)
        result = ApplyEv(kind, value, source, &work);
    else if (kind == 5 || kind == 6 || kind == 8 || kind == 9)
        result = ApplyLevel(kind - 5, value, &work);
    else if (kind == 7)
        result = ApplyCentre(value, &work);
    if (result != 0)
        return result;
    // Committed only now: a refused edit leaves the points and both blocks untouched.
    if (rebased_) {
        curves_->Free();
        evaluationCurves_->Free();
        profile_->GetTableCurve(key_, 0, curves_, evaluationCurves_);
        ReadPoints(points_);
    } else {
        *points_ = work;
        StorePoints(0, *points_);
    }
    StorePoints(1, *points_);
    return 0;
}

int WizardResultEditor::ApplyEv(int p, double value, int source, CharacteristicPoints* work)
{
    double v = source != kFromGraph ? RoundTenths(value) : value;
    const double current = work->ev[p];
    const bool lowerIsLimit = p == 0, upperIsLimit = p == 4;
    const double lower = lowerIsLimit ? Lo() : work->ev[p - 1];
    const double upper = upperIsLimit ? Hi() : work->ev[p + 1];
    // Past a limit (in tenths) the value reverts; past a neighbour it snaps onto it when it is
    // less than 0.05 EV beyond, else it reverts.
    if (lowerIsLimit ? Below(v, lower) : v < lower)
        v = lowerIsLimit || lower - v >= 0.05 ? current : lower;
    else if (upperIsLimit ? Below(upper, v) : v > upper)
        v = upperIsLimit || v - upper >= 0.05 ? current : upper;
    const auto inBounds = [&] { return !Below(v, lower) && !Below(upper, v); };
    if (!inBounds())
        return kFailed;
    double level = 0.0;
    if (profile_->LevelAt(key_, 0, &level, v, evaluationCurves_) != 0) {
        if (source == kFromTyping)
            return kFailed;
        // A drag or step beyond the measured curve stops at its end.
        ClampToCurveDomain(&v, current, *evaluationCurves_);
        if (!inBounds() || profile_->LevelAt(key_, 0, &level, v, evaluationCurves_) != 0)
            return kFailed;
    }
    const bool unchanged =
        source == kFromGraph ? std::fabs(v - current) < 1e-6 : RoundTenths(v) == RoundTenths(current);
    if (!unchanged) {
        work->ev[p] = v;
        work->level[p] = RoundLevel(level);
    }
    return 0;
}

int WizardResultEditor::ApplyLevel(int p, double value, CharacteristicPoints* work)
{
    double v = value;
    const int current = work->level[p];
    // Toward the centre the neighbour's level bounds the value; a small overshoot snaps onto it.
    if (p == 0 || p == 1) {
        const int inner = work->level[p + 1];
        if (v > inner)
            v = v - inner <= 0.5 ? inner : current;
        if (p == 0 && v < 0)
            v = current;
    } else {
        const int inner = work->level[p - 1];
        if (v < inner)
            v = inner - v <= 0.5 ? inner : current;
        if (p == 4 && v > 255)
            v = current;
    }
    int level = RoundLevel(v);
    const int low = p == 0 ? 0 : work->level[p - 1];
    const int high = p == 4 ? 255 : work->level[p + 1];
    if (level < low || level > high)
        return kFailed;
    double ev = 0.0;
    if (profile_->LevelAtInverse(key_, 0, &ev, level, evaluationCurves_) != 0)
        return kFailed;
    if (p == 1 && !Below(work->ev[0], ev)) {
        ev = work->ev[0];
        level = work->level[0];
    } else if (p == 3 && !Below(ev, work->ev[4])) {
        ev = work->ev[4];
        level = work->level[4];
    }
    const double lowEv = p == 0 ? Lo() : work->ev[p - 1];
    const double highEv = p == 4 ? Hi() : work->ev[p + 1];
    if (Below(ev, lowEv) || Below(highEv, ev))
        return kFailed;
    if (level != current) {
        work->level[p] = level;
        work->ev[p] = ev;
    }
    return 0;
}

int WizardResultEditor::ApplyCentre(double value, CharacteristicPoints* work)
{
    for (int p : {0, 1, 3, 4}) {
        double ev = 0.0;
        if (profile_->LevelAtInverse(key_, 0, &ev, work->level[p], evaluationCurves_) == 0)
            work->ev[p] = ev;
    }
    const int level = RoundLevel(value);
    if (level < work->level[1] || level > work->level[3])
        return kFailed;
    double ev = 0.0;
    if (profile_->LevelAtInverse(key_, 0, &ev, level, evaluationCurves_) != 0 || Below(ev, work->ev[1]) ||
        Below(work->ev[3], ev))
        return kFailed;
    if (level == work->level[2])
        return 0;
    if (Recalculate(level, *points_) == 0)
        return kFailed;
    rebased_ = true;
    return 0;
}

int WizardResultEditor::Recalculate(int level, const CharacteristicPoints& before)
{
    CharacteristicPoints work = *points_;
    for (int p : {0, 1, 3, 4}) {
        double ev = 0.0;
        if (profile_->LevelAtInverse(key_, 0, &ev, work.level[p], evaluationCurves_) == 0)
            work.ev[p] = ev;
    }
    double centre = 0.0;
    if (profile_->LevelAtInverse(key_, 0, &centre, level, evaluationCurves_) != 0)
        return 0;
    double rel[5];
    for (int p = 0; p < 5; ++p)
        rel[p] = RoundTenths(work.ev[p] - centre);
    rel[2] = 0.0;
    if (!(Lo() <= rel[0] && rel[0] <= rel[1] && rel[1] <= 0.0 && 0.0 <= rel[3] && rel[3] <= rel[4] && rel[4] <= Hi()))
        return 0;
    _ZARNLIB_VECTOR2 five[5];
    const int levels[5] = {work.level[0], work.level[1], work.level[3], work.level[4], level};
    for (int i = 0; i < 5; ++i) {
        five[i].x = 0.0;
        five[i].y = levels[i];
    }
    const auto rebuild = [&]() -> bool {
        if (profile_->SetTablePoints(key_, 0, five) != 0)
            return false;
        CurveList first, second;
        if (profile_->GetTableCurve(key_, 0, &first, &second) != 0)
            return false;
        for (int i = 0; i < 5; ++i)
            if (profile_->LevelAtInverse(key_, 0, &five[i].x, levels[i], &second) != 0)
                return false;
        double extra = 0.0;
        return profile_->SetTablePoints(key_, 0, five) == 0 && profile_->GetTablePoints(key_, 0, five, &extra) == 0 &&
               profile_->SetTablePoints(key_, 0, five) == 0 && profile_->GetTablePoints(key_, 0, five, &extra) == 0;
    };
    if (!rebuild()) {
        StorePoints(0, before);
        return 0;
    }
    return 1;
}
