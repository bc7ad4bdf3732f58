#include "profilelib/ZarnLib_KestrinPatchElement.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "profilelib/ZarnLib_Scales.h"

int ZarnLib_KestrinPatchElement::InsertEntry(ZarnLib_EntryKey entryKey, ZarnLib_CnvPolyLine curve)
{
    std::unique_ptr<ZarnLib_ProfileEntry> entry(new (std::nothrow) ZarnLib_ProfileEntry);
    if (!entry) {
        return -1;
    }
    if (entry->Set(entryKey, curve) != 0 && curve.GetCount() != 0) {
        return -1;
    }
    // Entries stay in descending EV (the plain EV also in cine tables); among equal EVs the newest
    // comes first.
    const double ev = entry->GetKey().GetEv();
    auto position = entries.begin();
    while (position != entries.end() && (*position)->GetKey().GetEv() > ev) {
        ++position;
    }
    try {
        entries.insert(position, std::move(entry));
    } catch (...) {
        return -1;
    }
    return 0;
}

int ZarnLib_KestrinPatchElement::AppendEntry(std::unique_ptr<ZarnLib_ProfileEntry> entry)
{
    if (!entry) {
        return -1;
    }
    try {
        entries.push_back(std::move(entry));
    } catch (...) {
        return -1;
    }
    return 0;
}

ZarnLib_ProfileEntry* ZarnLib_KestrinPatchElement::GetEntry(int index) const
{
    if (index < 0 || index >= GetEntryCount()) {
        return nullptr;
    }
    return entries[static_cast<std::size_t>(index)].get();
}

ZarnLib_ResultBlock* ZarnLib_KestrinPatchElement::GetBlock(int block)
{
    return block == 0 ? &il : block == 1 ? &rl : nullptr;
}

const ZarnLib_ResultBlock* ZarnLib_KestrinPatchElement::GetBlock(int block) const
{
    return block == 0 ? &il : block == 1 ? &rl : nullptr;
}

int ZarnLib_KestrinPatchElement::SetBlockPoints(int block, const _ZARNLIB_VECTOR2* five)
{
    ZarnLib_ResultBlock* target = GetBlock(block);
    if (target == nullptr || five == nullptr) {
        return -1;
    }
    for (int i = 0; i < 5; ++i) {
        target->points[kPassOrderSlot[i]] = five[i];
    }
    target->valid = 1;
    return 0;
}

int ZarnLib_KestrinPatchElement::SetBlockLimits(int block, const _ZARNLIB_VECTOR2* four, double adjustment)
{
    ZarnLib_ResultBlock* target = GetBlock(block);
    if (target == nullptr || four == nullptr) {
        return -1;
    }
    for (int i = 0; i < 4; ++i) {
        target->points[kPassOrderSlot[i]] = four[i];
    }
    target->adjustment = adjustment;
    target->valid = 1;
    return 0;
}

int ZarnLib_KestrinPatchElement::GetBlockPoints(int block, _ZARNLIB_VECTOR2* five, double* evOffset,
                                                double profileOffset)
{
    const ZarnLib_ResultBlock* source = GetBlock(block);
    if (source == nullptr || five == nullptr || evOffset == nullptr || source->valid == 0) {
        return -1;
    }
    for (int i = 0; i < 5; ++i) {
        five[i] = source->points[kPassOrderSlot[i]];
    }
    return GetBlockEvOffset(block, profileOffset, evOffset);
}

int ZarnLib_KestrinPatchElement::GetBlockLimits(int block, _ZARNLIB_VECTOR2* four, double* adjustment) const
{
    const ZarnLib_ResultBlock* source = GetBlock(block);
    if (source == nullptr || four == nullptr || adjustment == nullptr || source->valid == 0) {
        return -1;
    }
    for (int i = 0; i < 4; ++i) {
        four[i] = source->points[kPassOrderSlot[i]];
    }
    *adjustment = source->adjustment;
    return 0;
}

int ZarnLib_KestrinPatchElement::GetBlockValid(int block, unsigned char* out) const
{
    const ZarnLib_ResultBlock* source = GetBlock(block);
    if (source == nullptr || out == nullptr) {
        return -1;
    }
    *out = source->valid;
    return 0;
}

int ZarnLib_KestrinPatchElement::ClearBlockValid(int block)
{
    ZarnLib_ResultBlock* target = GetBlock(block);
    if (target != nullptr) {
        target->valid = 0;
    }
    if (il.valid == 0 && rl.valid == 0) {
        return -2;
    }
    return target == nullptr ? -1 : 0;
}

int ZarnLib_KestrinPatchElement::GetKey(ZarnLib_PatchKey* out) const
{
    if (out == nullptr) {
        return -1;
    }
    *out = key;
    return 0;
}

int ZarnLib_KestrinPatchElement::GetChartKind() const
{
    if (chartKind != 0) {
        return chartKind;
    }
    if (entries.empty()) {
        return 0;
    }
    switch (entries.front()->Curve().GetCount()) {
    case 7: return 1;
    case 25: return 2;
    case 6: return 3;
    default: return 0;
    }
}

bool ZarnLib_KestrinPatchElement::IsEqual(const ZarnLib_KestrinPatchElement& other) const
{
    if (!key.IsEqual(other.key) || entries.size() != other.entries.size()) {
        return false;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i]->IsEqual(*other.entries[i])) {
            return false;
        }
    }
    const ZarnLib_ResultBlock* mine[2] = {&il, &rl};
    const ZarnLib_ResultBlock* theirs[2] = {&other.il, &other.rl};
    for (int b = 0; b < 2; ++b) {
        if (mine[b]->valid != theirs[b]->valid) {
            return false;
        }
        for (int p = 0; p < 5; ++p) {
            if (!(mine[b]->points[p] == theirs[b]->points[p])) {
                return false;
            }
        }
    }
    return true;
}

// ---- Curve computations -------------------------------------------------------------------

namespace {

// Exposure positions of the patches of the charts whose patches are not evenly spaced.
constexpr double kPositionsKind3[6] = {-2.5238, -1.0, 0.1353, 1.008, 1.7152, 2.3221};
constexpr double kPositionsKind6[7] = {-2.9786, -1.2076, 0.0082, 0.4783, 0.9472, 1.6747, 2.3236};
// Output-curve steps of the same charts.
constexpr double kStepsKind3[6] = {0, 1.4238, 1.1353, 0.8727, 0.7072, 0.6069};
constexpr double kStepsKind6[7] = {0, 1.771, 1.2158, 0.4701, 0.4689, 0.7275, 0.6489};
constexpr int kReferenceLevelOtherBlock = 118;

// Half away from zero to tenths, as the cine readings are rounded.
double RoundTenths(double v)
{
    const double tenths = std::trunc(std::fabs(10.0 * v) + 0.5);
    return (v < 0 ? -tenths : tenths) * 0.1;
}

int KindOfPointCount(int count)
{
    switch (count) {
    case 7: return 1;
    case 25: return 2;
    case 6: return 3;
    default: return 0;
    }
}

// The number of points a curve of the chart kind has.
int PointCountOfKind(int kind)
{
    switch (kind) {
    case 1:
    case 6: return 7;
    case 3: return 6;
    default: return 25;
    }
}

// Where the first point of an output curve starts, before its first step.
double StartValueOfKind(int kind)
{
    switch (kind) {
    case 1: return 2.0 / 3.0;
    case 3: return 4.8459 / 2.0;
    case 6: return 2.9786;
    default: return 13.0 / 6.0;
    }
}

// The step added before point k of an output curve; k lies inside the kind's point count.
double StepOfKind(int kind, int k)
{
    if (kind == 3) {
        return kStepsKind3[k];
    }
    if (kind == 6) {
        return kStepsKind6[k];
    }
    return 1.0 / 6.0;
}

bool PassesLevel(double level, double reference)
{
    return reference == 255.0 ? level >= reference : level > reference;
}

int SetPart(ZarnLib_CnvPolyLine& target, const ZarnLib_CnvPolyLine& source, int from, int to,
            const _ZARNLIB_VECTOR2* extra)
{
    std::vector<_ZARNLIB_VECTOR2> part;
    for (int k = from; k <= to && k < source.GetCount(); ++k) {
        part.push_back(source.GetPoints()[k]);
    }
    if (extra != nullptr) {
        part.push_back(*extra);
    }
    if (part.size() < 2) {
        return -1;
    }
    return target.SetPoints(part.data(), static_cast<int>(part.size()), false);
}

} // namespace

double ZarnLib_KestrinPatchElement::GetReferenceLevel(int block) const
{
    const ZarnLib_ResultBlock* source = GetBlock(block);
    return source == nullptr ? kReferenceLevelOtherBlock : source->points[kSlotCnt].y;
}

double ZarnLib_KestrinPatchElement::GetMeteredEv(int block) const
{
    if (block == 0) {
        return ShutterIndexToTv(key.GetIlShutter()) + ApertureIndexToAv(key.GetIlAperture()) +
               key.GetIlTenths() / 10.0;
    }
    if (block == 1) {
        return ShutterIndexToTv(key.GetRlShutter()) + ApertureIndexToAv(key.GetRlAperture()) +
               key.GetRlTenths() / 10.0;
    }
    return 0.0;
}

double ZarnLib_KestrinPatchElement::GetCineMeteredEv(int block)
{
    if (block != 0 && block != 1) {
        return 0.0;
    }
    const double frameRate = block == 0 ? key.GetIlFrameRate() : key.GetRlFrameRate();
    const double angle = block == 0 ? key.GetIlShutterAngle() : key.GetRlShutterAngle();
    const int shutter = block == 0 ? key.GetIlShutter() : key.GetRlShutter();
    const int aperture = block == 0 ? key.GetIlAperture() : key.GetRlAperture();
    const int tenths = block == 0 ? key.GetIlTenths() : key.GetRlTenths();
    const double tv = ShutterIndexToTv(shutter);
    const double tvCine = RoundTenths(std::log2(frameRate)) + RoundTenths(std::log2(360.0 / angle));
    const double correction = tvCine - tv;
    key.SetCineCorrection(correction);
    const double seconds = angle / (frameRate * 360.0);
    // A time shorter than the shutter scale cannot be expressed by the index: the correction
    // then counts twice.
    if (seconds < kShortestShutterSeconds) {
        return tv + correction + correction + ApertureIndexToAv(aperture) + tenths / 10.0;
    }
    return tv + correction + ApertureIndexToAv(aperture) + tenths / 10.0;
}

bool ZarnLib_KestrinPatchElement::FindReferencePoint(int block, int* kindOut, int* entryOut, int* pointOut,
                                                     double* xOut) const
{
    int kind = 0;
    int foundEntry = 0;
    int foundPoint = 0;
    double x = 0.0;
    if (kindOut != nullptr) *kindOut = 0;
    if (entryOut != nullptr) *entryOut = 0;
    if (pointOut != nullptr) *pointOut = 0;
    if (xOut != nullptr) *xOut = 0.0;
    if (entries.empty()) {
        return false;
    }
    const double level = GetReferenceLevel(block);
    const int tableKind = GetChartKind();
    bool found = false;
    bool haveLastLevel = false;
    double lastLevel = 0.0;
    double before = 0.0;
    double at = 0.0;
    for (int i = 0; i < GetEntryCount() && !found; ++i) {
        const ZarnLib_CnvPolyLine& curve = entries[static_cast<std::size_t>(i)]->Curve();
        kind = tableKind;
        // A table from an untrusted file may name a chart whose curves have another point count:
        // the count decides then, so no table of the kind is read past its end.
        if (kind > 0 && curve.GetCount() != 0 && curve.GetCount() != PointCountOfKind(kind)) {
            kind = KindOfPointCount(curve.GetCount());
        } else if (kind == 0) {
            kind = KindOfPointCount(curve.GetCount());
        }
        if (kind <= 0) {
            // Curves of no known chart: the reference is the first point of the first photograph.
            kind = 0;
            foundEntry = 0;
            foundPoint = 0;
            found = true;
            x = 0.0;
            break;
        }
        for (int j = 0; j < curve.GetCount(); ++j) {
            const double w = curve.GetPoints()[j].y;
            if (PassesLevel(w, level)) {
                foundEntry = i;
                foundPoint = j;
                before = j > 0 ? curve.GetPoints()[j - 1].y : (haveLastLevel ? lastLevel : w);
                at = w;
                found = true;
                break;
            }
            lastLevel = w;
            haveLastLevel = true;
        }
        if (found) {
            const int t = foundPoint;
            if (before == at) {
                x = 0.0;
            } else {
                const double e = (at - level) / (at - before);
                if (kind == 3 || kind == 6) {
                    const double* positions = kind == 3 ? kPositionsKind3 : kPositionsKind6;
                    // Before the first patch the width of the first step stands in for the
                    // missing previous position.
                    const double width = t > 0 ? std::fabs(positions[t] - positions[t - 1])
                                               : std::fabs(positions[1] - positions[0]);
                    x = positions[t] - e * width;
                } else {
                    const int middle = kind == 1 ? 3 : 12;
                    x = (t - middle - e) / 6.0;
                }
            }
        }
    }
    if (!found) {
        return false;
    }
    if (kindOut != nullptr) *kindOut = kind;
    if (entryOut != nullptr) *entryOut = foundEntry;
    if (pointOut != nullptr) *pointOut = foundPoint;
    if (xOut != nullptr) *xOut = x;
    return true;
}

int ZarnLib_KestrinPatchElement::GetBlockEvOffset(int block, double profileOffset, double* out)
{
    if (out == nullptr || (block != 0 && block != 1)) {
        return -1;
    }
    int entryIndex = 0;
    double referenceX = 0.0;
    if (!FindReferencePoint(block, nullptr, &entryIndex, nullptr, &referenceX)) {
        return -1;
    }
    const ZarnLib_ProfileEntry* reference = GetEntry(entryIndex);
    if (reference == nullptr || !reference->IsValid() || !key.IsMeteringValid(block)) {
        return -1;
    }
    const ZarnLib_EntryKey& entryKey = reference->GetKey();
    double d = 0.0;
    if (key.GetCineMode() == 1) {
        const double metered = GetCineMeteredEv(block);
        ZarnLib_EntryKey copy = entryKey;
        d = copy.GetCineIndexEv(key.GetCineCorrection()) - referenceX - metered;
        if (block == 0) {
            key.SetIlCineOffset(copy.GetCineCorrection());
        } else {
            key.SetRlCineOffset(copy.GetCineCorrection());
        }
    } else {
        d = (ApertureIndexToAv(entryKey.GetApertureIndex()) + ShutterIndexToTv(entryKey.GetShutterIndex()) -
             entryKey.GetExposureOffset() - referenceX) -
            GetMeteredEv(block) + profileOffset;
    }
    int tenths = 0;
    if (!(d >= -5.1 && d <= 5.1) || !RoundToDecimals(d, 1, &tenths) || tenths < -50 || tenths > 50) {
        return -1;
    }
    *out = d;
    return 0;
}

int ZarnLib_KestrinPatchElement::GetBlockEvOffsetRaw(int block, double* out)
{
    return GetBlockEvOffset(block, 0.0, out);
}

double ZarnLib_KestrinPatchElement::ExposureSpanOfKind(int kind)
{
    if (kind == 4 || kind == 5)
        kind = 3;
    if (kind < 1 || kind > 6)
        return 0.0;
    double span = 0.0;
    for (int k = 1; k < PointCountOfKind(kind); ++k)
        span += StepOfKind(kind, k);
    return span;
}

double ZarnLib_KestrinPatchElement::EntryEv(const ZarnLib_ProfileEntry& entry) const
{
    return key.GetCineMode() == 1 ? entry.GetKey().GetCineEv() : entry.GetKey().GetEv();
}

int ZarnLib_KestrinPatchElement::EntryEvDifference(double* out, int i, int j, double a, double b) const
{
    const ZarnLib_ProfileEntry* first = GetEntry(i);
    const ZarnLib_ProfileEntry* second = GetEntry(j);
    if (out == nullptr || first == nullptr || second == nullptr) {
        return -1;
    }
    *out = EntryEv(*second) - EntryEv(*first) - a - b;
    return 0;
}

int ZarnLib_KestrinPatchElement::BuildOutputCurves(int block, ZarnLib_Buffer<ZarnLib_CnvPolyLine>* out,
                                                   ZarnLib_Buffer<ZarnLib_CnvPolyLine>* trimmed) const
{
    if (out == nullptr || entries.empty()) {
        return -1;
    }
    int kind = 0;
    int referenceEntry = 0;
    double referenceX = 0.0;
    if (!FindReferencePoint(block, &kind, &referenceEntry, nullptr, &referenceX)) {
        return -1;
    }
    const int n = GetEntryCount();
    ZarnLib_CnvPolyLine* curves = out->Alloc(n, true);
    if (curves == nullptr) {
        return -1;
    }
    if (kind == 0) {
        for (int j = 0; j < n; ++j) {
            entries[static_cast<std::size_t>(j)]->GetCurve(&curves[j]);
        }
        return 0;
    }
    const double referenceEv = EntryEv(*entries[static_cast<std::size_t>(referenceEntry)]);
    const int kindPoints = PointCountOfKind(kind);
    for (int j = 0; j < n; ++j) {
        const ZarnLib_CnvPolyLine& measured = entries[static_cast<std::size_t>(j)]->Curve();
        // Points beyond the kind's layout have no place on the exposure axis of a chart with
        // uneven patch steps; they are left out.
        const int count = (kind == 3 || kind == 6) ? std::min(measured.GetCount(), kindPoints) : measured.GetCount();
        std::vector<_ZARNLIB_VECTOR2> points(static_cast<std::size_t>(count));
        double x = referenceEv - EntryEv(*entries[static_cast<std::size_t>(j)]) - StartValueOfKind(kind) - referenceX;
        for (int k = 0; k < count; ++k) {
            x += StepOfKind(kind, k);
            points[static_cast<std::size_t>(k)] = {x, measured.GetPoints()[k].y};
        }
        curves[j].SetPoints(points.data(), count, false);
    }
    if (trimmed == nullptr) {
        return 0;
    }

    // Leading flat run: from entry 0's first level forwards, as long as levels repeat it.
    int startEntry = 0;
    int startPoint = 0;
    bool haveStart = curves[0].GetCount() > 0;
    const double startLevel = haveStart ? curves[0].GetPoints()[0].y : 0.0;
    for (int j = 0; j < n && haveStart; ++j) {
        const ZarnLib_CnvPolyLine& c = curves[j];
        int k = 0;
        for (; k < c.GetCount(); ++k) {
            if (c.GetPoints()[k].y != startLevel) {
                haveStart = false;
                break;
            }
            startEntry = j;
            startPoint = k;
        }
    }
    // Trailing flat run: from the last entry's last level backwards.
    int endEntry = n - 1;
    int endPoint = std::min(kindPoints, curves[n - 1].GetCount()) - 1;
    if (endPoint >= 0) {
        const double endLevel = curves[n - 1].GetPoints()[curves[n - 1].GetCount() - 1].y;
        bool scanning = true;
        for (int j = n - 1; j >= 0 && scanning; --j) {
            const ZarnLib_CnvPolyLine& c = curves[j];
            for (int k = c.GetCount() - 1; k >= 0; --k) {
                if (c.GetPoints()[k].y != endLevel) {
                    scanning = false;
                    break;
                }
                endEntry = j;
                endPoint = k;
            }
        }
    } else {
        endPoint = 0;
        endEntry = n - 1;
    }

    ZarnLib_CnvPolyLine* parts = trimmed->Alloc(n, true);
    if (parts == nullptr) {
        return -1;
    }
    const int lastEntry = endPoint == 0 ? endEntry - 1 : endEntry;
    for (int j = startEntry; j <= lastEntry; ++j) {
        const ZarnLib_CnvPolyLine& c = curves[j];
        const int from = j == startEntry ? startPoint : 0;
        const int to = j == endEntry ? endPoint : c.GetCount() - 1;
        const _ZARNLIB_VECTOR2* extra = nullptr;
        if (endPoint == 0 && j == endEntry - 1 && curves[endEntry].GetCount() > 0 && to >= from && to >= 0 &&
            to < c.GetCount()) {
            const _ZARNLIB_VECTOR2& next = curves[endEntry].GetPoints()[0];
            if (next.y > c.GetPoints()[to].y) {
                extra = &next;
            }
        }
        SetPart(parts[j - startEntry], c, from, to, extra);
    }
    return 0;
}
