#include "profilelib/ZarnLib_Profile.h"

#include "profilelib/ZarnLib_CurveTools.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

namespace {

bool IsBlock(int block)
{
    return block == 0 || block == 1;
}

// Rules shared by both bracketing searches, applied to a candidate list in table order.
int BracketByIso(const std::vector<ZarnLib_KestrinPatchElement*>& candidates, const ZarnLib_PatchKey& key,
                 ZarnLib_Buffer<ZarnLib_KestrinPatchElement*>* out, int* firstIso, int* secondIso)
{
    if (candidates.empty() || out == nullptr) {
        return -1;
    }
    ZarnLib_KestrinPatchElement* first = nullptr;
    ZarnLib_KestrinPatchElement* second = nullptr;
    if (candidates.size() == 1) {
        first = candidates.front();
    } else {
        for (ZarnLib_KestrinPatchElement* table : candidates) {
            if (table->Key().IsSameTable(key)) {
                first = table;
                break;
            }
        }
        if (first == nullptr) {
            // Bracket by ISO alone, whatever the light source.
            std::size_t remembered = candidates.size();
            for (std::size_t i = 0; i < candidates.size(); ++i) {
                if (candidates[i]->Key().GetIso() > key.GetIso()) {
                    break;
                }
                remembered = i;
            }
            if (remembered == candidates.size()) {
                first = candidates.front();
            } else {
                first = candidates[remembered];
                if (remembered + 1 < candidates.size()) {
                    second = candidates[remembered + 1];
                }
            }
        }
    }
    ZarnLib_KestrinPatchElement** list = out->Alloc(second != nullptr ? 2 : 1, true);
    if (list == nullptr) {
        return -1;
    }
    list[0] = first;
    if (firstIso != nullptr) {
        *firstIso = first->Key().GetIso();
    }
    if (second != nullptr) {
        list[1] = second;
        if (secondIso != nullptr) {
            *secondIso = second->Key().GetIso();
        }
    }
    return 0;
}

} // namespace

int ZarnLib_Profile::ClearTables()
{
    tables.clear();
    return 0;
}

int ZarnLib_Profile::RemoveTable(ZarnLib_PatchKey key)
{
    int index = -1;
    if (FindTable(key, &index) == nullptr) {
        return -1;
    }
    tables.erase(tables.begin() + index);
    return 0;
}

ZarnLib_KestrinPatchElement* ZarnLib_Profile::FindTable(ZarnLib_PatchKey key, int* index) const
{
    for (std::size_t i = 0; i < tables.size(); ++i) {
        if (tables[i] && tables[i]->Key().IsSameTable(key)) {
            if (index != nullptr) {
                *index = static_cast<int>(i);
            }
            return tables[i].get();
        }
    }
    return nullptr;
}

int ZarnLib_Profile::GetTableCount(int* out) const
{
    if (out != nullptr) {
        *out = TableCount();
    }
    return 0;
}

ZarnLib_KestrinPatchElement* ZarnLib_Profile::GetTableAt(int index) const
{
    if (index < 0 || index >= TableCount()) {
        return nullptr;
    }
    return tables[static_cast<std::size_t>(index)].get();
}

std::vector<int> ZarnLib_Profile::GetTableKinds() const
{
    std::vector<int> kinds;
    for (const auto& table : tables) {
        kinds.push_back(table ? table->GetChartKind() : 0);
    }
    return kinds;
}

int ZarnLib_Profile::AppendTable(std::unique_ptr<ZarnLib_KestrinPatchElement> table)
{
    if (!table) {
        return -1;
    }
    try {
        tables.push_back(std::move(table));
    } catch (...) {
        return -1;
    }
    return 0;
}

void ZarnLib_Profile::Swap(ZarnLib_Profile& other)
{
    std::swap(tables, other.tables);
    std::swap(version, other.version);
    std::swap(subVersion, other.subVersion);
    std::swap(ilOffset, other.ilOffset);
    std::swap(rlOffset, other.rlOffset);
    std::swap(chartKind, other.chartKind);
}

int ZarnLib_Profile::InsertTableInIsoOrder(std::unique_ptr<ZarnLib_KestrinPatchElement> table)
{
    // After the existing tables of the same ISO, before the first table of greater ISO.
    auto position = tables.begin();
    while (position != tables.end() && (*position)->Key().GetIso() <= table->Key().GetIso()) {
        ++position;
    }
    try {
        tables.insert(position, std::move(table));
    } catch (...) {
        return -1;
    }
    return 0;
}

int ZarnLib_Profile::FindTablesForIso(ZarnLib_PatchKey key, ZarnLib_Buffer<ZarnLib_KestrinPatchElement*>* out,
                                      int* firstIso, int* secondIso) const
{
    std::vector<ZarnLib_KestrinPatchElement*> candidates;
    for (const auto& table : tables) {
        if (table) {
            candidates.push_back(table.get());
        }
    }
    return BracketByIso(candidates, key, out, firstIso, secondIso);
}

int ZarnLib_Profile::FindValidTablesForIso(ZarnLib_PatchKey key, ZarnLib_Buffer<ZarnLib_KestrinPatchElement*>* out,
                                           int* firstIso, int* secondIso, int block) const
{
    if (!IsBlock(block)) {
        return -1;
    }
    std::vector<ZarnLib_KestrinPatchElement*> candidates;
    for (const auto& table : tables) {
        if (table && table->Key().GetLightSource() == key.GetLightSource() && table->GetBlock(block)->valid != 0) {
            candidates.push_back(table.get());
        }
    }
    return BracketByIso(candidates, key, out, firstIso, secondIso);
}

int ZarnLib_Profile::AddEntry(ZarnLib_PatchKey key, ZarnLib_EntryKey entryKey, ZarnLib_CnvPolyLine curve)
{
    ZarnLib_KestrinPatchElement* table = FindTable(key);
    if (table != nullptr) {
        return table->InsertEntry(entryKey, curve);
    }
    std::unique_ptr<ZarnLib_KestrinPatchElement> fresh(new (std::nothrow) ZarnLib_KestrinPatchElement(key));
    if (!fresh) {
        return -1;
    }
    fresh->SetChartKind(key.GetChartKind());
    // Fill the new table before it joins the profile, so a failure leaves the profile as it was.
    if (fresh->InsertEntry(entryKey, curve) != 0) {
        return -1;
    }
    if (InsertTableInIsoOrder(std::move(fresh)) != 0) {
        return -1;
    }
    chartKind = key.GetChartKind();
    return 0;
}

int ZarnLib_Profile::SetTablePoints(ZarnLib_PatchKey key, int block, const _ZARNLIB_VECTOR2* five)
{
    ZarnLib_KestrinPatchElement* table = FindTable(key);
    if (table == nullptr || !IsBlock(block)) {
        return -1;
    }
    return table->SetBlockPoints(block, five);
}

int ZarnLib_Profile::SetTablePointsOrCreate(ZarnLib_PatchKey key, int block, const _ZARNLIB_VECTOR2* four,
                                            double adjustment)
{
    if (!IsBlock(block) || four == nullptr) {
        return -1;
    }
    ZarnLib_KestrinPatchElement* table = FindTable(key);
    if (table != nullptr) {
        return table->SetBlockLimits(block, four, adjustment);
    }
    std::unique_ptr<ZarnLib_KestrinPatchElement> fresh(new (std::nothrow) ZarnLib_KestrinPatchElement(key));
    if (!fresh) {
        return -1;
    }
    fresh->SetChartKind(key.GetChartKind());
    fresh->SetBlockLimits(block, four, adjustment);
    return InsertTableInIsoOrder(std::move(fresh));
}

int ZarnLib_Profile::GetTablePoints(ZarnLib_PatchKey key, int block, _ZARNLIB_VECTOR2* five, double* evOffset)
{
    ZarnLib_KestrinPatchElement* table = FindTable(key);
    if (table == nullptr || !IsBlock(block)) {
        return -1;
    }
    return table->GetBlockPoints(block, five, evOffset, ProfileOffset(block));
}

int ZarnLib_Profile::GetTableLimits(ZarnLib_PatchKey key, int block, _ZARNLIB_VECTOR2* four,
                                    double* adjustment) const
{
    const ZarnLib_KestrinPatchElement* table = FindTable(key);
    if (table == nullptr || !IsBlock(block)) {
        return -1;
    }
    return table->GetBlockLimits(block, four, adjustment);
}

int ZarnLib_Profile::ClearTableBlock(ZarnLib_PatchKey key, int block)
{
    int index = -1;
    ZarnLib_KestrinPatchElement* table = FindTable(key, &index);
    if (table == nullptr) {
        return -1;
    }
    const int result = table->ClearBlockValid(block);
    if (result == -2) {
        tables.erase(tables.begin() + index);
        return 0;
    }
    return result;
}

bool ZarnLib_Profile::IsEqual(const ZarnLib_Profile* other) const
{
    if (other == nullptr || other->tables.size() != tables.size()) {
        return false;
    }
    for (std::size_t i = 0; i < tables.size(); ++i) {
        if (!tables[i] || !other->tables[i] || !tables[i]->IsEqual(*other->tables[i])) {
            return false;
        }
    }
    return true;
}

// ---- Curve computations -------------------------------------------------------------------

namespace {

// The interpolated curve covers at most 22.5 EV at 1/6 EV spacing.
constexpr int kMaxInterpolatedPoints = 135;

// Weights of the interpolation between two ISO speeds; false when they are not usable.
bool IsoWeights(int firstIso, int secondIso, int keyIso, double* dI, double* w)
{
    *dI = std::log2(static_cast<double>(secondIso)) - std::log2(static_cast<double>(firstIso));
    *w = std::log2(static_cast<double>(keyIso)) - std::log2(static_cast<double>(firstIso));
    return std::isfinite(*dI) && *dI != 0.0 && std::isfinite(*w);
}

double Interpolate(double first, double second, double dI, double w)
{
    return first + (second - first) / dI * w;
}

} // namespace

int ZarnLib_Profile::GetTableCurve(ZarnLib_PatchKey key, int block, ZarnLib_Buffer<ZarnLib_CnvPolyLine>* out,
                                   ZarnLib_Buffer<ZarnLib_CnvPolyLine>* trimmed) const
{
    const ZarnLib_KestrinPatchElement* table = FindTable(key);
    if (out == nullptr || table == nullptr) {
        return -1;
    }
    return table->BuildOutputCurves(block, out, trimmed);
}

int ZarnLib_Profile::LevelAt(ZarnLib_PatchKey key, int block, double* level, double ev,
                             const ZarnLib_Buffer<ZarnLib_CnvPolyLine>* curves) const
{
    if (level == nullptr || curves == nullptr) {
        return -1;
    }
    const ZarnLib_KestrinPatchElement* table = FindTable(key);
    int referenceEntry = 0;
    if (curves->GetCount() > 0 && table != nullptr &&
        table->FindReferencePoint(block, nullptr, &referenceEntry, nullptr, nullptr) &&
        referenceEntry < curves->GetCount()) {
        const ZarnLib_CnvPolyLine& curve = (*curves)[referenceEntry];
        if (curve.GetCount() >= 2 && ev >= curve.GetPoints()[0].x && ev <= curve.GetPoints()[curve.GetCount() - 1].x) {
            *level = curve.Evaluate(ev, false);
            return 0;
        }
    }
    return LevelAtAnyCurve(*curves, ev, level);
}

int ZarnLib_Profile::LevelAtInverse(ZarnLib_PatchKey key, int block, double* ev, double level,
                                    const ZarnLib_Buffer<ZarnLib_CnvPolyLine>* curves) const
{
    if (ev == nullptr || curves == nullptr) {
        return -1;
    }
    const ZarnLib_KestrinPatchElement* table = FindTable(key);
    int referenceEntry = 0;
    if (curves->GetCount() > 0 && table != nullptr &&
        table->FindReferencePoint(block, nullptr, &referenceEntry, nullptr, nullptr) &&
        referenceEntry < curves->GetCount() && (*curves)[referenceEntry].GetCount() >= 2) {
        ZarnLib_CnvPolyLine backwards;
        if (backwards.SetFromSwapped((*curves)[referenceEntry]) == 0 && backwards.GetCount() >= 2 &&
            level >= backwards.GetPoints()[0].x && level <= backwards.GetPoints()[backwards.GetCount() - 1].x) {
            *ev = backwards.Evaluate(level, false);
            return 0;
        }
    }
    return LevelAtInverseAnyCurve(*curves, level, ev);
}

int ZarnLib_Profile::GetCurveForSettings(ZarnLib_PatchKey key, int block,
                                         ZarnLib_Buffer<ZarnLib_CnvPolyLine>* out) const
{
    if (out == nullptr) {
        return -1;
    }
    ZarnLib_Buffer<ZarnLib_KestrinPatchElement*> found;
    int firstIso = 0;
    int secondIso = 0;
    if (FindTablesForIso(key, &found, &firstIso, &secondIso) != 0) {
        return -1;
    }
    if (found.GetCount() == 1) {
        return found[0]->BuildOutputCurves(block, out, nullptr);
    }
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> first;
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> second;
    if (found[0]->BuildOutputCurves(block, &first, nullptr) != 0 ||
        found[1]->BuildOutputCurves(block, &second, nullptr) != 0) {
        return -1;
    }
    double dI = 0.0;
    double w = 0.0;
    if (!IsoWeights(firstIso, secondIso, key.GetIso(), &dI, &w)) {
        return -1;
    }
    // Both lists must have a usable first and last curve for the range to be defined.
    double firstStart = 0.0;
    double firstEnd = 0.0;
    double secondStart = 0.0;
    double secondEnd = 0.0;
    if (GetCurveListXRange(first, &firstStart, &firstEnd) != 0 ||
        GetCurveListXRange(second, &secondStart, &secondEnd) != 0) {
        return -1;
    }
    const double x0 = std::min(firstStart, secondStart);
    const double x1 = std::min(firstEnd, secondEnd);
    const double span = (x1 - x0) * 6.0;
    const int n = span > 0 ? static_cast<int>(std::min(span, static_cast<double>(kMaxInterpolatedPoints))) : 0;
    std::vector<_ZARNLIB_VECTOR2> points;
    for (int i = 0; i < n; ++i) {
        const double x = i / 6.0 + x0;
        double y1 = 0.0;
        double y2 = 0.0;
        // Only where both tables have a level is there anything to interpolate.
        if (LevelAtAnyCurve(first, x, &y1) == 0 && LevelAtAnyCurve(second, x, &y2) == 0) {
            points.push_back({x, Interpolate(y1, y2, dI, w)});
        }
    }
    ZarnLib_CnvPolyLine* curves = out->Alloc(1, true);
    if (curves == nullptr) {
        return -1;
    }
    if (points.size() >= 2) {
        curves[0].SetPoints(points.data(), static_cast<int>(points.size()), false);
    }
    return 0;
}

int ZarnLib_Profile::GetPointsForSettings(ZarnLib_PatchKey key, int block, _ZARNLIB_VECTOR2* five,
                                          double* evOffset)
{
    if (five == nullptr || evOffset == nullptr || (block != 0 && block != 1)) {
        return -1;
    }
    ZarnLib_Buffer<ZarnLib_KestrinPatchElement*> found;
    int firstIso = 0;
    int secondIso = 0;
    if (FindTablesForIso(key, &found, &firstIso, &secondIso) != 0) {
        return -1;
    }
    if (found.GetCount() == 1) {
        return found[0]->GetBlockPoints(block, five, evOffset, ProfileOffset(block));
    }
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> curve;
    _ZARNLIB_VECTOR2 firstPoints[5];
    _ZARNLIB_VECTOR2 secondPoints[5];
    double firstOffset = 0.0;
    double secondOffset = 0.0;
    if (GetCurveForSettings(key, block, &curve) != 0 ||
        found[0]->GetBlockPoints(block, firstPoints, &firstOffset, ProfileOffset(block)) != 0 ||
        found[1]->GetBlockPoints(block, secondPoints, &secondOffset, ProfileOffset(block)) != 0) {
        return -1;
    }
    double dI = 0.0;
    double w = 0.0;
    if (!IsoWeights(firstIso, secondIso, key.GetIso(), &dI, &w)) {
        return -1;
    }
    _ZARNLIB_VECTOR2 result[5];
    for (int i = 0; i < 5; ++i) {
        result[i].y = Interpolate(firstPoints[i].y, secondPoints[i].y, dI, w);
        const int r = LevelAtInverseAnyCurve(curve, result[i].y, &result[i].x);
        if (r != 0) {
            return r;
        }
    }
    for (int i = 0; i < 5; ++i) {
        five[i] = result[i];
    }
    *evOffset = Interpolate(firstOffset, secondOffset, dI, w);
    return 0;
}

int ZarnLib_Profile::GetPointsForSettingsAlt(ZarnLib_PatchKey key, int block, _ZARNLIB_VECTOR2* four,
                                             double* adjustment) const
{
    if (four == nullptr || adjustment == nullptr) {
        return -1;
    }
    ZarnLib_Buffer<ZarnLib_KestrinPatchElement*> found;
    int firstIso = 0;
    int secondIso = 0;
    if (FindValidTablesForIso(key, &found, &firstIso, &secondIso, block) != 0) {
        return -1;
    }
    if (found.GetCount() == 1) {
        return found[0]->GetBlockLimits(block, four, adjustment);
    }
    _ZARNLIB_VECTOR2 first[4];
    _ZARNLIB_VECTOR2 second[4];
    double firstAdjustment = 0.0;
    double secondAdjustment = 0.0;
    double dI = 0.0;
    double w = 0.0;
    if (found[0]->GetBlockLimits(block, first, &firstAdjustment) != 0 ||
        found[1]->GetBlockLimits(block, second, &secondAdjustment) != 0 ||
        !IsoWeights(firstIso, secondIso, key.GetIso(), &dI, &w)) {
        return -1;
    }
    // Levels are interpolated like the EVs, so every output is set.
    for (int i = 0; i < 4; ++i) {
        four[i].x = Interpolate(first[i].x, second[i].x, dI, w);
        four[i].y = Interpolate(first[i].y, second[i].y, dI, w);
    }
    *adjustment = Interpolate(firstAdjustment, secondAdjustment, dI, w);
    return 0;
}
