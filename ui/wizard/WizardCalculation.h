// The profile calculation of the wizard, without windows: the chosen photographs are measured into
// the table of the wizard's ISO and light source, the user's five levels are placed on the joined
// curves, and their EVs are derived and limited. Run is the body of the calculation thread; the
// read-back and the log run on the user-interface thread once the thread has ended.
#pragma once

#include "platform/WinTypes.h"
#include "profilelib/ZarnLib_Buffer.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_EntryKey.h"
#include "profilelib/ZarnLib_PatchKey.h"
#include "profilelib/ZarnLib_SeriesRefusal.h"
#include "ui/views/CharacteristicPoints.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

class ExifInputValues;
class WizardData;
class ZarnLib_Profile;
class CKZARN_WizFileData;

// The user's five levels, as the settings hold them.
struct WizardUserLevels {
    int cpm = 20;
    int drm = 35;
    int drp = 230;
    int cpp = 245;
    int cnt = 118;
};

class WizardCalculation {
public:
    // Result codes of a run.
    static constexpr int kResultOk = 0;
    static constexpr int kResultFailed = 1;
    static constexpr int kResultLimited = 2;
    // The error code of a run that failed, as the wizard reports it.
    static constexpr int kRunFailedError = -10001;
    // The error of a run whose photographs do not make a sound series (Refusals says why):
    // nothing of the run stays in the profile.
    static constexpr int kRefused = -10620;

    // Called after each photograph: (photographs done, photographs chosen).
    using Progress = std::function<void(int done, int total)>;

    // threads: photographs measured at once (1 measures them one after another).
    WizardCalculation(WizardData* data, ZarnLib_Profile* profile, const WizardUserLevels& levels, int threads);

    // The thread's work. Returns the error code of the first failing library call (0 on success);
    // *resultCode receives 0, 1 or 2.
    int Run(const Progress& progress, int* resultCode);
    // After a run refused by the series check (kRefused): why, naming the photographs by their
    // index among the chosen ones, the first rule that refused first; empty otherwise.
    const std::vector<ZarnLib_SeriesRefusal>& Refusals() const { return refusals_; }

    // The table key of the run: chart kind target + 1, ISO, light source and both readings, and
    // in cine mode the frame rates and shutter angles.
    static ZarnLib_PatchKey TableKey(const WizardData& data);
    // The chart kind the photographs are measured as (the ColorChecker variants differ).
    static int MeasurementChartKind(const WizardData& data);
    static ZarnLib_EntryKey EntryKeyOf(const WizardData& data, const ExifInputValues& record);
    // The exposure (EV) of a photograph as the calculation joins it: shutter and aperture (or the
    // cine values) less the brightness adjustment.
    static double ExposureOf(const WizardData& data, const ExifInputValues& record);

    // After the run: the curves and the five points of block 0 of the (ISO, light source) table.
    // Returns 0 or the failing call's code; the points are set only on success.
    static int ReadResult(const WizardData& data, ZarnLib_Profile* profile, ZarnLib_Buffer<ZarnLib_CnvPolyLine>* curves,
                          ZarnLib_Buffer<ZarnLib_CnvPolyLine>* evaluationCurves, CharacteristicPoints* points);
    // The reflected block must be readable too; its values are not kept.
    static int CheckReflectedBlock(const WizardData& data, ZarnLib_Profile* profile);

    // One block of the calculation log for a run at local time `when`.
    static std::string FormatLog(std::time_t when, const std::vector<CKZARN_WizFileData*>& photos,
                                 const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves);

private:
    int PlacePoints(const ZarnLib_PatchKey& key, bool* limited);

    WizardData* data_;
    ZarnLib_Profile* profile_;
    WizardUserLevels levels_;
    int threads_;
    std::vector<ZarnLib_SeriesRefusal> refusals_;
};
