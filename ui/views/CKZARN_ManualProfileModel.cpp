#include "ui/views/CKZARN_ManualProfileModel.h"

#include "core/CKZARN_Common.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "ui/views/CKZARN_EditValueRules.h"
#include "ui/views/CKZARN_ProfileFileSaver.h"

#include <cmath>
#include <cstdlib>

namespace {

// Value bounds in tenths of an EV by kind; the neighbours are the row's own rounded values.
bool WithinBounds(const ManualRow& row, int kind, int tenths)
{
    const auto t = [&row](int column) { return CKZARN_EditValueRules::Tenths(row.values[column]); };
    switch (kind) {
    case 0: return tenths >= -50 && tenths <= 50;
    case 1: return tenths >= -100 && tenths <= t(2);
    case 2: return tenths >= t(1) && tenths <= 0;
    case 3: return tenths >= 0 && tenths <= t(4);
    case 4: return tenths >= t(3) && tenths <= 100;
    default: return false;
    }
}

} // namespace

ManualRow CKZARN_ManualProfileModel::DefaultRow(int iso)
{
    ManualRow row;
    row.iso = iso;
    row.hasValues = 1;
    const double values[5] = {0.0, -3.5, -2.5, 2.5, 3.5};
    const int ints[6] = {0, -3, -2, 2, 3, 0};
    for (int i = 0; i < 5; ++i) {
        row.values[i] = values[i];
    }
    for (int i = 0; i < 6; ++i) {
        row.ints[i] = ints[i];
    }
    row.further = 0.0;
    row.rowMark = 0;
    row.sourceFlag = 0;
    return row;
}

bool CKZARN_ManualProfileModel::Start(int mode, const std::string& newPath)
{
    rows.clear();
    profile.ClearTables();
    loaded = false;
    path.clear();
    if (mode == 0) {
        profile.SetVersion(3);
        profile.SetSubVersion(1);
        loaded = true;
        return true;
    }
    if (newPath.empty()) {
        return false;
    }
    const ZarnLibString kpf(newPath.c_str());
    if (LoadProfile(&kpf, &profile) != 0) {
        // A file that fails half-way leaves some tables behind: none of them may be edited or saved.
        profile.ClearTables();
        return false;
    }
    path = newPath;
    loaded = true;
    return true;
}

ZarnLib_PatchKey CKZARN_ManualProfileModel::KeyFor(int iso, int light) const
{
    ZarnLib_PatchKey key;
    key.SetLightSource(light);
    key.SetChartKind(profile.GetChartKind());
    key.SetIso(iso);
    return key;
}

void CKZARN_ManualProfileModel::LookUp(ManualRow* row, int light, int photo)
{
    _ZARNLIB_VECTOR2 four[4];
    double extra = 0.0;
    const ZarnLib_PatchKey key = KeyFor(row->iso, light);
    int found = 0;
    if (profile.GetTableLimits(key, photo, four, &extra) == 0) {
        found = 1;
    } else if (profile.GetPointsForSettingsAlt(key, photo, four, &extra) == 0) {
        found = 2;
    }
    row->sourceFlag = found == 1 ? 1 : 0;
    if (found == 0) {
        return;
    }
    row->values[0] = extra;
    for (int i = 0; i < 4; ++i) {
        row->values[i + 1] = four[i].x;
        row->ints[i + 1] = CKZARN_EditValueRules::RoundLevel(four[i].y);
    }
}

void CKZARN_ManualProfileModel::BuildRows(int light, int photo)
{
    rows.clear();
    if (!loaded) {
        return;
    }
    for (const int iso : CKZARN_Common::IsoTable()) {
        ManualRow row = DefaultRow(std::atoi(CKZARN_Common::IsoToText(iso).c_str()));
        LookUp(&row, light, photo);
        row.rowMark = row.sourceFlag;
        rows.push_back(row);
    }
}

void CKZARN_ManualProfileModel::RefreshRows(int light, int photo)
{
    for (ManualRow& row : rows) {
        const int mark = row.rowMark;
        row = DefaultRow(row.iso);
        row.rowMark = mark;
        LookUp(&row, light, photo);
    }
}

int CKZARN_ManualProfileModel::SetValue(int index, int kind, double value, bool roundValue, int* changed,
                                        int light, int photo, bool* beep)
{
    int dummy = 0;
    int& flag = changed != nullptr ? *changed : dummy;
    flag = 1;
    if (beep != nullptr) {
        *beep = false;
    }
    if (index < 0 || index >= static_cast<int>(rows.size()) || kind < 0 || kind > 4 || !std::isfinite(value)) {
        return kRefused;
    }
    ManualRow& row = rows[static_cast<std::size_t>(index)];
    if (roundValue) {
        value = CKZARN_EditValueRules::RoundEv(value);
    }
    if (!WithinBounds(row, kind, CKZARN_EditValueRules::Tenths(value))) {
        flag = 0;
        if (beep != nullptr) {
            *beep = true;
        }
        return kRefused;
    }
    double& stored = row.values[kind];
    const bool same = roundValue ? CKZARN_EditValueRules::Tenths(stored) == CKZARN_EditValueRules::Tenths(value)
                                 : std::fabs(stored - value) < 1e-6;
    if (same) {
        flag = 0;
    } else {
        stored = value;
    }
    if (roundValue) {
        flag = 1; // a typed entry always counts, and writes the table again
    } else if (same) {
        return 0;
    }
    const _ZARNLIB_VECTOR2 four[4] = {{row.values[1], static_cast<double>(row.ints[1])},
                                      {row.values[2], static_cast<double>(row.ints[2])},
                                      {row.values[3], static_cast<double>(row.ints[3])},
                                      {row.values[4], static_cast<double>(row.ints[4])}};
    return profile.SetTablePointsOrCreate(KeyFor(row.iso, light), photo, four, row.values[0]);
}

int CKZARN_ManualProfileModel::ResetRow(int index, int light, int photo)
{
    if (index < 0 || index >= static_cast<int>(rows.size())) {
        return kRefused;
    }
    ManualRow& row = rows[static_cast<std::size_t>(index)];
    row = DefaultRow(row.iso);
    profile.ClearTableBlock(KeyFor(row.iso, light), photo);
    return 0;
}

int CKZARN_ManualProfileModel::IsProfileEmpty() const
{
    int count = 0;
    if (profile.GetTableCount(&count) != 0) {
        return 1;
    }
    return count == 0 ? 1 : 0;
}

int CKZARN_ManualProfileModel::Save(const std::string& newPath)
{
    const int result = CKZARN_ProfileFileSaver::Save(newPath, profile);
    if (result == CKZARN_ProfileFileSaver::kSaved) {
        path = newPath;
    }
    return result;
}
