#include "ui/views/CKZARN_EditValueRules.h"

#include "core/util/DecimalText.h"
#include "profilelib/ZarnLib_CurveTools.h"

#include <algorithm>
#include <cmath>

namespace {

// An EV counts as unchanged by a drag when it moved by less than this.
constexpr double kDragEpsilon = 1e-6;
// The snapping distance to a neighbouring point, in EV and in levels.
constexpr double kEvSnap = 0.05;
constexpr double kLevelSnap = 0.5;

int FieldPoint(int controlId)
{
    switch (controlId) {
    case CKZARN_EditValueRules::kEvCpm:
    case CKZARN_EditValueRules::kLevelCpm: return kEditCpm;
    case CKZARN_EditValueRules::kEvDrm:
    case CKZARN_EditValueRules::kLevelDrm: return kEditDrm;
    case CKZARN_EditValueRules::kLevelCnt: return kEditCnt;
    case CKZARN_EditValueRules::kEvDrp:
    case CKZARN_EditValueRules::kLevelDrp: return kEditDrp;
    case CKZARN_EditValueRules::kEvCpp:
    case CKZARN_EditValueRules::kLevelCpp: return kEditCpp;
    default: return -1;
    }
}

bool IsEvField(int controlId)
{
    return controlId == CKZARN_EditValueRules::kEvCpm || controlId == CKZARN_EditValueRules::kEvDrm ||
           controlId == CKZARN_EditValueRules::kEvDrp || controlId == CKZARN_EditValueRules::kEvCpp;
}

} // namespace

namespace {

// Far beyond every EV and level these rules compare; a huge typed number stops here instead of
// overflowing the integer.
constexpr double kSaturation = 1e9;

int SaturatedTrunc(double magnitude)
{
    return static_cast<int>(std::trunc(std::isnan(magnitude) ? 0.0 : std::min(magnitude, kSaturation)));
}

} // namespace

int CKZARN_EditValueRules::Tenths(double v)
{
    const int t = SaturatedTrunc(std::fabs(v) * 10.0 + 0.5);
    return v < 0.0 ? -t : t;
}

double CKZARN_EditValueRules::RoundEv(double v)
{
    return Tenths(v) * 0.1;
}

int CKZARN_EditValueRules::RoundLevel(double l)
{
    const int r = SaturatedTrunc(std::fabs(l) + 0.5);
    return l < 0.0 ? -r : r;
}

std::string CKZARN_EditValueRules::FormatEv(double ev, char decimal)
{
    const int t = Tenths(ev);
    return DecimalText::Fixed(t * 0.1, 1, decimal, t != 0);
}

bool CKZARN_EditValueRules::ReadTable()
{
    points = CharacteristicPoints{};
    shown.Free();
    conversion.Free();
    hasCurve = false;
    maxLevel = 255.0;
    minLevel = 0.0;
    maxEv = 0.0;
    minEv = 0.0;
    if (access == nullptr || access->GetTableCurve(&shown, &conversion) != 0) {
        shown.Free();
        conversion.Free();
        return false;
    }
    hasCurve = true;
    double first = 0.0;
    double last = 0.0;
    const bool haveRange = GetCurveListXRange(shown, &first, &last) == 0;
    double ev[5];
    double level[5];
    double further = 0.0;
    if (access->GetTablePoints(ev, level, &further) == 0) {
        for (int i = 0; i < 5; ++i) {
            points.ev[i] = ev[i];
            points.level[i] = RoundLevel(level[i]);
        }
        points.further = further;
        if (haveRange) {
            for (const int i : {kEditCpm, kEditDrm}) {
                if (points.ev[i] < first) {
                    points.ev[i] = first;
                }
            }
            for (const int i : {kEditDrp, kEditCpp}) {
                if (points.ev[i] > last) {
                    points.ev[i] = last;
                }
            }
            maxEv = last;
            minEv = first;
        }
    }
    // The EVs follow the levels on this curve; a point off the curve is moved onto it.
    for (const int i : {kEditCpm, kEditDrm, kEditDrp, kEditCpp}) {
        double e = 0.0;
        if (access->LevelAtInverse(conversion, points.level[i], &e) == 0) {
            points.ev[i] = e;
        }
    }
    for (const int i : {kEditCpm, kEditDrm, kEditDrp, kEditCpp}) {
        double l = 0.0;
        if (access->LevelAt(conversion, points.ev[i], &l) == 0) {
            continue;
        }
        double e = points.ev[i];
        if (ClampToCurveDomain(&e, points.ev[kEditCnt], conversion) == 0 && access->LevelAt(conversion, e, &l) == 0) {
            points.ev[i] = e;
            points.level[i] = RoundLevel(l);
        }
    }
    return true;
}

int CKZARN_EditValueRules::StoreSet(const CharacteristicPoints& set)
{
    if (access == nullptr) {
        return -1;
    }
    double level[5];
    for (int i = 0; i < 5; ++i) {
        level[i] = set.level[i];
    }
    return access->SetTablePoints(set.ev, level);
}

int CKZARN_EditValueRules::StorePoints()
{
    return StoreSet(points);
}

CKZARN_EditValueRules::Outcome CKZARN_EditValueRules::Apply(int controlId, double value, int mode)
{
    const int point = FieldPoint(controlId);
    if (point < 0 || !hasCurve || access == nullptr || !std::isfinite(value) || mode < kModeDragged ||
        mode > kModeLeft) {
        Outcome refused;
        refused.refused = true;
        refused.point = point;
        return refused;
    }
    return IsEvField(controlId) ? ApplyEv(point, value, mode) : ApplyLevel(point, value, mode);
}

CKZARN_EditValueRules::Outcome CKZARN_EditValueRules::ApplyEv(int point, double v, int mode)
{
    Outcome out;
    out.point = point;
    out.refused = true;
    const CharacteristicPoints& p = points;
    const double old = p.ev[point];
    if (mode != kModeDragged) {
        v = RoundEv(v);
    }
    // Neighbours: a value a little beyond one takes its exact EV, further beyond the old EV.
    int low = 0;  // accepted range of r(v), in tenths
    int high = 0;
    switch (point) {
    case kEditCpm:
        if (v < RoundEv(minEv)) {
            v = old;
        } else if (v > RoundEv(p.ev[kEditDrm])) {
            v = (v - kEvSnap < RoundEv(p.ev[kEditDrm])) ? p.ev[kEditDrm] : old;
        }
        low = -100;
        high = Tenths(p.ev[kEditDrm]);
        break;
    case kEditDrm:
        if (v <= RoundEv(p.ev[kEditCpm])) {
            v = (v + kEvSnap >= RoundEv(p.ev[kEditCpm])) ? p.ev[kEditCpm] : old;
        } else if (v > RoundEv(p.ev[kEditCnt])) {
            v = (v - kEvSnap < RoundEv(p.ev[kEditCnt])) ? p.ev[kEditCnt] : old;
        }
        low = Tenths(p.ev[kEditCpm]);
        high = Tenths(p.ev[kEditCnt]);
        break;
    case kEditDrp:
        if (v < RoundEv(p.ev[kEditCnt])) {
            v = (v + kEvSnap > RoundEv(p.ev[kEditCnt])) ? p.ev[kEditCnt] : old;
        } else if (v >= RoundEv(p.ev[kEditCpp])) {
            v = (v - kEvSnap <= RoundEv(p.ev[kEditCpp])) ? p.ev[kEditCpp] : old;
        }
        low = Tenths(p.ev[kEditCnt]);
        high = Tenths(p.ev[kEditCpp]);
        break;
    case kEditCpp:
        if (v <= RoundEv(p.ev[kEditDrp])) {
            v = (v + kEvSnap >= RoundEv(p.ev[kEditDrp])) ? p.ev[kEditDrp] : old;
        } else if (v > RoundEv(maxEv)) {
            v = old;
        }
        low = Tenths(p.ev[kEditDrp]);
        high = 100;
        break;
    default:
        return out;
    }
    const auto inRange = [low, high](double x) {
        const int t = Tenths(x);
        return t >= low && t <= high;
    };
    if (!inRange(v)) {
        return out;
    }
    double level = 0.0;
    if (access->LevelAt(conversion, v, &level) != 0) {
        if (mode == kModeLeft) {
            return out;
        }
        if (ClampToCurveDomain(&v, old, conversion) != 0 || !inRange(v) ||
            access->LevelAt(conversion, v, &level) != 0) {
            return out;
        }
    }
    out.refused = false;
    const bool same = mode == kModeDragged ? std::fabs(old - v) < kDragEpsilon : Tenths(old) == Tenths(v);
    if (same) {
        return out;
    }
    points.ev[point] = v;
    points.level[point] = RoundLevel(level);
    out.changed = true;
    return out;
}

CKZARN_EditValueRules::Outcome CKZARN_EditValueRules::ApplyLevel(int point, double l, int /*mode*/)
{
    Outcome out;
    out.point = point;
    out.refused = true;
    CharacteristicPoints work = points;
    const int oldLevel = work.level[point];
    double e = 0.0;
    switch (point) {
    case kEditCpp:
        if (l < work.level[kEditDrp]) {
            l = (l + kLevelSnap > work.level[kEditDrp]) ? work.level[kEditDrp] : oldLevel;
        } else if (l > maxLevel) {
            l = oldLevel;
        }
        if (RoundLevel(l) < work.level[kEditDrp] || RoundLevel(l) > 255 ||
            access->LevelAtInverse(conversion, l, &e) != 0 || Tenths(e) < Tenths(work.ev[kEditDrp]) ||
            Tenths(e) > 100) {
            return out;
        }
        break;
    case kEditDrp: {
        double at = 0.0;
        if (access->LevelAtInverse(conversion, l, &at) != 0) {
            return out;
        }
        if (l < work.level[kEditCnt]) {
            l = (l + kLevelSnap > work.level[kEditCnt]) ? work.level[kEditCnt] : oldLevel;
        } else if (at >= RoundEv(work.ev[kEditCpp])) {
            if (at - RoundEv(work.ev[kEditCpp]) < kEvSnap) {
                l = work.level[kEditCpp];
            } else {
                work.ev[kEditDrp] = work.ev[kEditCpp];
                if (access->LevelAt(conversion, work.ev[kEditDrp], &l) != 0) {
                    return out;
                }
            }
        }
        if (RoundLevel(l) < work.level[kEditCnt] || RoundLevel(l) > work.level[kEditCpp] ||
            access->LevelAtInverse(conversion, l, &e) != 0 || Tenths(e) < Tenths(work.ev[kEditCnt]) ||
            Tenths(e) > Tenths(work.ev[kEditCpp])) {
            return out;
        }
        break;
    }
    case kEditCnt: {
        for (const int i : {kEditCpm, kEditDrm, kEditDrp, kEditCpp}) {
            if (access->LevelAtInverse(conversion, work.level[i], &work.ev[i]) != 0) {
                return out;
            }
        }
        const int rounded = RoundLevel(l);
        if (rounded < work.level[kEditDrm] || rounded > work.level[kEditDrp] ||
            access->LevelAtInverse(conversion, l, &e) != 0 || Tenths(e) < Tenths(work.ev[kEditDrm]) ||
            Tenths(e) > Tenths(work.ev[kEditDrp])) {
            return out;
        }
        if (rounded != work.level[kEditCnt]) {
            if (RebuildOn(&work, rounded) != 1) {
                return out;
            }
            out.changed = true;
        }
        points = work;
        out.refused = false;
        out.centreAccepted = true;
        return out;
    }
    case kEditDrm: {
        double at = 0.0;
        if (access->LevelAtInverse(conversion, l, &at) != 0) {
            return out;
        }
        if (at <= RoundEv(work.ev[kEditCpm])) {
            if (RoundEv(work.ev[kEditCpm]) - at < kEvSnap) {
                l = work.level[kEditCpm];
            } else {
                work.ev[kEditDrm] = work.ev[kEditCpm];
                if (access->LevelAt(conversion, work.ev[kEditDrm], &l) != 0) {
                    return out;
                }
            }
        } else if (l > work.level[kEditCnt]) {
            l = (l - kLevelSnap > work.level[kEditCnt]) ? oldLevel : work.level[kEditCnt];
        }
        if (RoundLevel(l) < work.level[kEditCpm] || RoundLevel(l) > work.level[kEditCnt] ||
            access->LevelAtInverse(conversion, l, &e) != 0 || Tenths(e) < Tenths(work.ev[kEditCpm]) ||
            Tenths(e) > Tenths(work.ev[kEditCnt])) {
            return out;
        }
        break;
    }
    case kEditCpm:
        if (l < minLevel) {
            l = oldLevel;
        } else if (l > work.level[kEditDrm]) {
            l = (l - kLevelSnap <= work.level[kEditDrm]) ? work.level[kEditDrm] : oldLevel;
        }
        if (RoundLevel(l) < 0 || RoundLevel(l) > work.level[kEditDrm] ||
            access->LevelAtInverse(conversion, l, &e) != 0 || Tenths(e) < -100 ||
            Tenths(e) > Tenths(work.ev[kEditDrm])) {
            return out;
        }
        break;
    default:
        return out;
    }
    out.refused = false;
    if (RoundLevel(l) == oldLevel) {
        return out;
    }
    points.level[point] = RoundLevel(l);
    points.ev[point] = e;
    out.changed = true;
    return out;
}

int CKZARN_EditValueRules::RebuildCurve(int newLevel)
{
    if (access == nullptr || !hasCurve) {
        return 0;
    }
    CharacteristicPoints work = points;
    if (RebuildOn(&work, newLevel) != 1) {
        return 0;
    }
    points = work;
    return 1;
}

int CKZARN_EditValueRules::RebuildOn(CharacteristicPoints* work, int newLevel)
{
    double centre = 0.0;
    if (access->LevelAtInverse(conversion, newLevel, &centre) != 0) {
        return 0;
    }
    const int cpm = Tenths(work->ev[kEditCpm] - centre);
    const int drm = Tenths(work->ev[kEditDrm] - centre);
    const int drp = Tenths(work->ev[kEditDrp] - centre);
    const int cpp = Tenths(work->ev[kEditCpp] - centre);
    if (!(cpm >= -100 && cpm <= drm && drm <= 0 && 0 <= drp && drp <= cpp && cpp <= 100)) {
        return 0;
    }
    // A failure after the table was written puts the editor's committed points back.
    const auto restore = [this]() {
        StoreSet(points);
        return 0;
    };
    // Points at EV 0 with the new reference level: the library builds the curves around it.
    CharacteristicPoints anchored = *work;
    for (double& ev : anchored.ev) {
        ev = 0.0;
    }
    anchored.level[kEditCnt] = newLevel;
    if (StoreSet(anchored) != 0) {
        return restore();
    }
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> newShown;
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> newConversion;
    if (access->GetTableCurve(&newShown, &newConversion) != 0) {
        return restore();
    }
    CharacteristicPoints moved = anchored;
    for (const int i : {kEditCpm, kEditDrm, kEditDrp, kEditCpp}) {
        if (access->LevelAtInverse(newConversion, moved.level[i], &moved.ev[i]) != 0) {
            return restore();
        }
    }
    moved.ev[kEditCnt] = 0.0;
    if (StoreSet(moved) != 0) {
        return restore();
    }
    double ev[5];
    double level[5];
    double further = work->further;
    if (access->GetTablePoints(ev, level, &further) != 0) {
        return restore();
    }
    for (int i = 0; i < 5; ++i) {
        work->ev[i] = ev[i];
        work->level[i] = RoundLevel(level[i]);
    }
    work->further = further;
    return 1;
}
