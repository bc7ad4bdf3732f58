// The data of the manual profile entry: the profile being typed in, its path, and one row per
// ISO speed of the standard list for the chosen light source and block. A row shows the table of
// its own ISO (marked), values interpolated from the tables around it, or the defaults. No Qt: the
// data form shows the rows in its grid.
#pragma once

#include "profilelib/ZarnLib_Profile.h"
#include "ui/views/CET_ChartData.h"

#include <string>
#include <vector>

// A row here: values 0-4 = adjustment, CPM, DRM, DRP, CPP in EV (grid columns 1 to 5); further =
// the medium EV (0); ints = 0, then the levels that travel with the points (CPM, DRM, DRP, CPP, CNT);
// rowMark = the profile has a table of its own at this ISO for the key and block; sourceFlag = the
// last look-up found that table.
using ManualRow = CET_ChartData;

class CKZARN_ManualProfileModel {
public:
    static constexpr int kRefused = -10001;

    CKZARN_ManualProfileModel() = default;
    CKZARN_ManualProfileModel(const CKZARN_ManualProfileModel&) = delete;
    CKZARN_ManualProfileModel& operator=(const CKZARN_ManualProfileModel&) = delete;

    // Dialog start. Mode 0: a new empty profile of version 3.1. Mode 2: the file at the path; an
    // empty path or a file that does not load leaves an empty profile, no rows, and false.
    bool Start(int mode, const std::string& path);
    // All rows again from the profile in memory for the key; none after a failed start.
    void BuildRows(int light, int photo);
    // The values of every row again (after a change); the marks stay.
    void RefreshRows(int light, int photo);

    // One value of the selected row: kind 0 adjustment, 1 CPM, 2 DRM, 3 DRP, 4 CPP. 0 or the
    // table write's result; kRefused for no row, an unknown kind or a value out of its bounds
    // (then *beep is set). *changed as the entry counts.
    int SetValue(int row, int kind, double value, bool roundValue, int* changed, int light, int photo, bool* beep);
    // The row back to the defaults and its block removed from the profile; kRefused without a row.
    int ResetRow(int row, int light, int photo);
    // 1 when the profile has no table.
    int IsProfileEmpty() const;
    // Writes the profile (CKZARN_ProfileFileSaver's result); on success the path is kept.
    int Save(const std::string& newPath);

    // A row of the ISO with the defaults: 0, -3.5, -2.5, +2.5, +3.5, levels -3, -2, +2, +3, 0, no mark.
    static ManualRow DefaultRow(int iso);

    bool IsLoaded() const { return loaded; }
    const std::string& Path() const { return path; }
    std::vector<ManualRow>& Rows() { return rows; }
    const std::vector<ManualRow>& Rows() const { return rows; }
    ZarnLib_Profile& Profile() { return profile; }

private:
    ZarnLib_PatchKey KeyFor(int iso, int light) const;
    void LookUp(ManualRow* row, int light, int photo);

    ZarnLib_Profile profile;
    std::string path;
    std::vector<ManualRow> rows;
    bool loaded = false;
};
