// One exposure profile, the contents of one .kpf file: tables in ascending ISO order, identified by
// ISO speed and light source. Block 0 is incident light, 1 reflected light. Five points are passed
// in the order CPM, DRM, DRP, CPP, CNT; four limit points as CPM, DRM, DRP, CPP.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "profilelib/ZarnLib_Buffer.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_EntryKey.h"
#include "profilelib/ZarnLib_KestrinPatchElement.h"
#include "profilelib/ZarnLib_PatchKey.h"

class ZarnLib_Profile {
public:
    ZarnLib_Profile() = default;
    ZarnLib_Profile(const ZarnLib_Profile&) = delete;
    ZarnLib_Profile& operator=(const ZarnLib_Profile&) = delete;

    int ClearTables();
    int RemoveTable(ZarnLib_PatchKey key);
    ZarnLib_KestrinPatchElement* FindTable(ZarnLib_PatchKey key, int* index = nullptr) const;
    int GetTableCount(int* out) const;
    int TableCount() const { return static_cast<int>(tables.size()); }
    ZarnLib_KestrinPatchElement* GetTableAt(int index) const;
    std::vector<int> GetTableKinds() const;
    // Appends a table at the end of the list, without ordering (used when reading a file).
    int AppendTable(std::unique_ptr<ZarnLib_KestrinPatchElement> table);
    // Exchanges the whole contents of two profiles.
    void Swap(ZarnLib_Profile& other);

    int SetChartKind(int kind) { chartKind = kind; return 0; }
    int GetChartKind() const { return chartKind; }
    void SetVersion(std::int16_t v) { version = v; }
    std::int16_t GetVersion() const { return version; }
    void SetSubVersion(std::int16_t v) { subVersion = v; }
    std::int16_t GetSubVersion() const { return subVersion; }
    void SetIlOffset(double v) { ilOffset = v; }
    double GetIlOffset() const { return ilOffset; }
    void SetRlOffset(double v) { rlOffset = v; }
    double GetRlOffset() const { return rlOffset; }

    // One or two tables that bracket the key's ISO speed (see the source for the rules).
    int FindTablesForIso(ZarnLib_PatchKey key, ZarnLib_Buffer<ZarnLib_KestrinPatchElement*>* out, int* firstIso,
                         int* secondIso) const;
    // The same among the tables of the key's light source whose block is valid.
    int FindValidTablesForIso(ZarnLib_PatchKey key, ZarnLib_Buffer<ZarnLib_KestrinPatchElement*>* out,
                              int* firstIso, int* secondIso, int block) const;

    // Adds a photograph to the table of the key, creating the table in ISO order when needed.
    // -1 when the table or the entry cannot be created; the profile is then unchanged.
    int AddEntry(ZarnLib_PatchKey key, ZarnLib_EntryKey entryKey, ZarnLib_CnvPolyLine curve);

    int SetTablePoints(ZarnLib_PatchKey key, int block, const _ZARNLIB_VECTOR2* five);
    int SetTablePointsOrCreate(ZarnLib_PatchKey key, int block, const _ZARNLIB_VECTOR2* four, double adjustment);
    int GetTablePoints(ZarnLib_PatchKey key, int block, _ZARNLIB_VECTOR2* five, double* evOffset);
    int GetTableLimits(ZarnLib_PatchKey key, int block, _ZARNLIB_VECTOR2* four, double* adjustment) const;
    // Marks the block invalid and removes the table when neither block stays valid.
    int ClearTableBlock(ZarnLib_PatchKey key, int block);

    // Same table count and every table equal (version, offsets and chart kind are not compared).
    bool IsEqual(const ZarnLib_Profile* other) const;

    // Curve computations.
    int GetTableCurve(ZarnLib_PatchKey key, int block, ZarnLib_Buffer<ZarnLib_CnvPolyLine>* out,
                      ZarnLib_Buffer<ZarnLib_CnvPolyLine>* trimmed) const;
    int LevelAt(ZarnLib_PatchKey key, int block, double* level, double ev,
                const ZarnLib_Buffer<ZarnLib_CnvPolyLine>* curves) const;
    int LevelAtInverse(ZarnLib_PatchKey key, int block, double* ev, double level,
                       const ZarnLib_Buffer<ZarnLib_CnvPolyLine>* curves) const;
    int GetCurveForSettings(ZarnLib_PatchKey key, int block, ZarnLib_Buffer<ZarnLib_CnvPolyLine>* out) const;
    int GetPointsForSettings(ZarnLib_PatchKey key, int block, _ZARNLIB_VECTOR2* five, double* evOffset);
    int GetPointsForSettingsAlt(ZarnLib_PatchKey key, int block, _ZARNLIB_VECTOR2* four, double* adjustment) const;

private:
    int InsertTableInIsoOrder(std::unique_ptr<ZarnLib_KestrinPatchElement> table);
    double ProfileOffset(int block) const { return block == 0 ? ilOffset : rlOffset; }

    std::vector<std::unique_ptr<ZarnLib_KestrinPatchElement>> tables;
    std::int16_t version = -1;
    std::int16_t subVersion = -1;
    double ilOffset = 0.0;
    double rlOffset = 0.0;
    int chartKind = 0;
};
