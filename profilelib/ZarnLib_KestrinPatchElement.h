// One table of a profile: the photographs taken under one shooting condition (entries in
// descending EV) and the two result blocks, 0 = incident light, 1 = reflected light.
// Five points are passed in the order CPM, DRM, DRP, CPP, CNT; four limit points as CPM, DRM,
// DRP, CPP (see ZarnLib_ResultBlock.h).
#pragma once

#include <memory>
#include <vector>

#include "profilelib/ZarnLib_Buffer.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_PatchKey.h"
#include "profilelib/ZarnLib_ProfileEntry.h"
#include "profilelib/ZarnLib_ResultBlock.h"

class ZarnLib_KestrinPatchElement {
public:
    ZarnLib_KestrinPatchElement() = default;
    explicit ZarnLib_KestrinPatchElement(const ZarnLib_PatchKey& newKey) : key(newKey) {}
    ZarnLib_KestrinPatchElement(const ZarnLib_KestrinPatchElement&) = delete;
    ZarnLib_KestrinPatchElement& operator=(const ZarnLib_KestrinPatchElement&) = delete;

    // Inserts a new entry before the first one whose EV is not greater than its own; -1 when it
    // cannot be allocated (the table is then unchanged).
    int InsertEntry(ZarnLib_EntryKey entryKey, ZarnLib_CnvPolyLine curve);
    // Appends an entry in the given order (used when reading a file); -1 on allocation failure.
    int AppendEntry(std::unique_ptr<ZarnLib_ProfileEntry> entry);
    int GetEntryCount() const { return static_cast<int>(entries.size()); }
    ZarnLib_ProfileEntry* GetEntry(int index) const;

    int SetBlockPoints(int block, const _ZARNLIB_VECTOR2* five);
    int SetBlockLimits(int block, const _ZARNLIB_VECTOR2* four, double adjustment);
    // Copies the five points and computes the block EV offset with the given profile offset;
    // returns that computation's result (the points are copied even when it fails).
    int GetBlockPoints(int block, _ZARNLIB_VECTOR2* five, double* evOffset, double profileOffset);
    int GetBlockLimits(int block, _ZARNLIB_VECTOR2* four, double* adjustment) const;
    int GetBlockValid(int block, unsigned char* out) const;
    // Marks the block invalid; -2 when neither block is valid afterwards.
    int ClearBlockValid(int block);
    ZarnLib_ResultBlock* GetBlock(int block);
    const ZarnLib_ResultBlock* GetBlock(int block) const;

    int GetKey(ZarnLib_PatchKey* out) const;
    const ZarnLib_PatchKey& Key() const { return key; }
    ZarnLib_PatchKey& Key() { return key; }
    int SetChartKind(int kind) { chartKind = kind; return 0; }
    // The stored chart kind, or the kind implied by the first entry's point count (7: 1, 25: 2, 6: 3).
    int GetChartKind() const;
    int GetStoredChartKind() const { return chartKind; }

    bool IsEqual(const ZarnLib_KestrinPatchElement& other) const;

    // Curve computations.
    // The exposure (EV) between the densest and the lightest patch of a chart of the kind, as the
    // output curves place its patches (kinds 4 and 5 carry kind 3's patches); 0 for another kind.
    static double ExposureSpanOfKind(int kind);
    double GetMeteredEv(int block) const;
    double GetCineMeteredEv(int block);
    bool FindReferencePoint(int block, int* kind, int* entryIndex, int* pointIndex, double* referenceX) const;
    int GetBlockEvOffset(int block, double profileOffset, double* out);
    int GetBlockEvOffsetRaw(int block, double* out);
    int BuildOutputCurves(int block, ZarnLib_Buffer<ZarnLib_CnvPolyLine>* out,
                          ZarnLib_Buffer<ZarnLib_CnvPolyLine>* trimmed) const;
    // EV(entry j) - EV(entry i) - a - b; -1 for a null out or an index outside the entries.
    int EntryEvDifference(double* out, int i, int j, double a, double b) const;
    // The reference level of a block: its stored CNT level, 118 for another block index.
    double GetReferenceLevel(int block) const;

private:
    double EntryEv(const ZarnLib_ProfileEntry& entry) const;

    ZarnLib_PatchKey key;
    std::vector<std::unique_ptr<ZarnLib_ProfileEntry>> entries;
    ZarnLib_ResultBlock il;
    ZarnLib_ResultBlock rl;
    int chartKind = 0;
};
