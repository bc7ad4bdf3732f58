#include "profilelib/ZarnLib_Profile.h"

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
