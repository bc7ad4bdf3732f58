#include "ui/wizard/WizardCalculation.h"

#include "core/util/DecimalText.h"
#include "profilelib/ZarnExif_File.h"
#include "profilelib/ZarnLib_ChartSeriesCheck.h"
#include "profilelib/ZarnLib_CurveTools.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_Vector2.h"
#include "ui/wizard/CKZARN_WizFileData.h"
#include "ui/wizard/PhotoMeasurePool.h"
#include "ui/wizard/WizardCineCodes.h"
#include "ui/wizard/WizardData.h"

#include <cmath>
#include <cstdio>

namespace {

// Pass order of the five points in the library calls.
enum { kCpm = 0, kDrm = 1, kDrp = 2, kCpp = 3, kCnt = 4 };

double FrameRateOf(double typed, int code)
{
    return typed == 0.0 ? WizardCineCodes::FrameRateFromCode(code) : typed;
}

double ShutterAngleOf(double typed, int code)
{
    return typed == 999.999 ? WizardCineCodes::ShutterAngleFromCode(code) : typed;
}


} // namespace

WizardCalculation::WizardCalculation(WizardData* data, ZarnLib_Profile* profile, const WizardUserLevels& levels,
                                     int threads)
    : data_(data), profile_(profile), levels_(levels), threads_(threads)
{
}

ZarnLib_PatchKey WizardCalculation::TableKey(const WizardData& data)
{
    ZarnLib_PatchKey key;
    key.SetChartKind(data.target + 1);
    key.SetIso(data.isoSpeed);
    key.SetLightSource(data.lightSource);
    key.SetIlShutter(data.ilShutterIndex);
    key.SetIlAperture(data.ilApertureIndex);
    key.SetIlTenths(data.ilTenths);
    key.SetRlShutter(data.rlShutterIndex);
    key.SetRlAperture(data.rlApertureIndex);
    key.SetRlTenths(data.rlTenths);
    if (data.cineMode == 1) {
        key.SetCineMode(1);
        key.SetIlFrameRate(FrameRateOf(data.ilFrameRate, data.ilFrameRateCode));
        key.SetIlShutterAngle(ShutterAngleOf(data.ilShutterAngle, data.ilShutterAngleCode));
        key.SetRlFrameRate(FrameRateOf(data.rlFrameRate, data.rlFrameRateCode));
        key.SetRlShutterAngle(ShutterAngleOf(data.rlShutterAngle, data.rlShutterAngleCode));
    }
    return key;
}

int WizardCalculation::MeasurementChartKind(const WizardData& data)
{
    if (data.target != 2)
        return data.target + 1;
    switch (data.colorCheckerVariant) {
    case 0: return 4;
    case 2: return 5;
    default: return 3;
    }
}

ZarnLib_EntryKey WizardCalculation::EntryKeyOf(const WizardData& data, const ExifInputValues& record)
{
    ZarnLib_EntryKey entry;
    entry.SetIso(record.iso);
    entry.SetShutter(record.shutterIndex);
    entry.SetAperture(record.apertureIndex);
    entry.SetExposureOffset(record.brightnessAdjust);
    if (data.cineMode == 1) {
        entry.SetFrameRate(FrameRateOf(record.typedFrameRate, record.frameRateCode));
        entry.SetShutterAngle(ShutterAngleOf(record.typedShutterAngle, record.shutterAngleCode));
    }
    return entry;
}

double WizardCalculation::ExposureOf(const WizardData& data, const ExifInputValues& record)
{
    const ZarnLib_EntryKey key = EntryKeyOf(data, record);
    return data.cineMode == 1 ? key.GetCineEv() : key.GetEv();
}

int WizardCalculation::Run(const Progress& progress, int* resultCode)
{
    *resultCode = kResultFailed;
    const ZarnLib_PatchKey key = TableKey(*data_);
    profile_->RemoveTable(key);

    const std::vector<CKZARN_WizFileData*> photos = data_->chosenPhotos;
    const int total = static_cast<int>(photos.size());
    std::vector<PhotoMeasurePool::Job> jobs;
    jobs.reserve(photos.size());
    const int chartKind = MeasurementChartKind(*data_);
    for (const CKZARN_WizFileData* photo : photos) {
        PhotoMeasurePool::Job job;
        job.entryKey = EntryKeyOf(*data_, photo->values);
        photo->values.GetCornerPoints(job.corners);
        job.path = ZarnExif_File::NativeToWide(photo->path);
        job.chartKind = chartKind;
        job.tableKey = key;
        jobs.push_back(std::move(job));
    }
    std::vector<ZarnLib_ChartSeriesCheck::Photo> measured;
    int error = PhotoMeasurePool::MeasureAll(
        jobs, threads_, profile_,
        [&](int done) {
            if (progress)
                progress(done, total);
        },
        nullptr, &measured);
    if (error != 0)
        return error;
    // The whole series is judged once, on what was measured; a refused run leaves nothing of
    // itself in the profile.
    for (std::size_t i = 0; i < photos.size() && i < measured.size(); ++i)
        measured[i].exposure = ExposureOf(*data_, photos[i]->values);
    refusals_ = ZarnLib_ChartSeriesCheck::Judge(chartKind, measured);
    if (!refusals_.empty()) {
        profile_->RemoveTable(key);
        return kRefused;
    }

    bool limited = false;
    error = PlacePoints(key, &limited);
    if (error != 0)
        return error;
    *resultCode = limited ? kResultLimited : kResultOk;
    return 0;
}

int WizardCalculation::PlacePoints(const ZarnLib_PatchKey& key, bool* limited)
{
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> curves, trimmed;
    int error = profile_->GetTableCurve(key, 0, &curves, &trimmed);
    if (error != 0)
        return error;
    std::vector<ZarnLib_LevelRange> ranges;
    GetCurveYRanges(trimmed, &ranges);

    int levels[5] = {levels_.cpm, levels_.drm, levels_.drp, levels_.cpp, levels_.cnt};
    for (int& level : levels)
        if (SnapToRanges(ranges, &level) != 0)
            *limited = true;

    _ZARNLIB_VECTOR2 five[5];
    for (int i = 0; i < 5; ++i)
        five[i] = {0.0, static_cast<double>(levels[i])};
    if ((error = profile_->SetTablePoints(key, 0, five)) != 0)
        return error;

    // The centre level is now the curves' reference; every look-up below uses the new curves.
    curves.Free();
    trimmed.Free();
    if ((error = profile_->GetTableCurve(key, 0, &curves, &trimmed)) != 0)
        return error;

    const bool expanded = data_->expandedRange == 1;
    const double limit = expanded ? 10.0 : 7.0;
    const double test = expanded ? 10.000001 : 7.000001;
    const auto evOf = [&](int index) { return profile_->LevelAtInverse(key, 0, &five[index].x, five[index].y, &trimmed); };
    // An EV beyond the limit is set to the limit and takes the level there; where no curve reaches
    // the limit, the EV moves into the curves toward the other side first.
    const auto limitAt = [&](int index, double bound, double toward) {
        five[index].x = bound;
        *limited = true;
        if (profile_->LevelAt(key, 0, &five[index].y, five[index].x, &trimmed) == 0)
            return 0;
        const int moved = ClampToCurveDomain(&five[index].x, toward, trimmed);
        if (moved != 0)
            return moved;
        return profile_->LevelAt(key, 0, &five[index].y, five[index].x, &trimmed);
    };

    if ((error = evOf(kCnt)) != 0)
        return error;
    five[kCnt].x = 0.0;

    if ((error = evOf(kCpm)) != 0)
        return error;
    if (five[kCpm].x < -test && (error = limitAt(kCpm, -limit, limit)) != 0)
        return error;
    if ((error = evOf(kDrm)) != 0)
        return error;
    if (five[kDrm].x < five[kCpm].x) {
        five[kDrm] = five[kCpm];
        *limited = true;
    }

    if ((error = evOf(kCpp)) != 0)
        return error;
    if (five[kCpp].x > test && (error = limitAt(kCpp, limit, -limit)) != 0)
        return error;
    if ((error = evOf(kDrp)) != 0)
        return error;
    if (five[kDrp].x > five[kCpp].x) {
        five[kDrp] = five[kCpp];
        *limited = true;
    }

    if ((error = profile_->SetTablePoints(key, 0, five)) != 0)
        return error;
    return profile_->SetTablePoints(key, 1, five);
}

int WizardCalculation::ReadResult(const WizardData& data, ZarnLib_Profile* profile,
                                  ZarnLib_Buffer<ZarnLib_CnvPolyLine>* curves,
                                  ZarnLib_Buffer<ZarnLib_CnvPolyLine>* evaluationCurves, CharacteristicPoints* points)
{
    ZarnLib_PatchKey key;
    key.SetIso(data.isoSpeed);
    key.SetLightSource(data.lightSource);
    curves->Free();
    evaluationCurves->Free();
    int error = profile->GetTableCurve(key, 0, curves, evaluationCurves);
    if (error != 0)
        return error;
    _ZARNLIB_VECTOR2 five[5];
    double extra = 0.0;
    if ((error = profile->GetTablePoints(key, 0, five, &extra)) != 0)
        return error;
    // Pass order CPM, DRM, DRP, CPP, CNT to screen order CPM, DRM, CNT, DRP, CPP.
    static constexpr int kScreenOf[5] = {0, 1, 3, 4, 2};
    for (int i = 0; i < 5; ++i) {
        points->ev[kScreenOf[i]] = five[i].x;
        points->level[kScreenOf[i]] = static_cast<int>(std::lround(five[i].y));
    }
    points->further = extra;
    points->hidden = 0;
    return 0;
}

int WizardCalculation::CheckReflectedBlock(const WizardData& data, ZarnLib_Profile* profile)
{
    ZarnLib_PatchKey key;
    key.SetIso(data.isoSpeed);
    key.SetLightSource(data.lightSource);
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> scratch;
    int error = profile->GetTableCurve(key, 1, &scratch, nullptr);
    if (error != 0)
        return error;
    _ZARNLIB_VECTOR2 five[5];
    double extra = 0.0;
    return profile->GetTablePoints(key, 1, five, &extra);
}

std::string WizardCalculation::FormatLog(std::time_t when, const std::vector<CKZARN_WizFileData*>& photos,
                                         const ZarnLib_Buffer<ZarnLib_CnvPolyLine>& curves)
{
    char stamp[64] = "";
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr || std::strftime(stamp, sizeof stamp, "%Y/%m/%d  %H:%M:%S", &local) == 0)
        stamp[0] = '\0';
    std::string text = "---------- " + std::string(stamp) + " ----------\r\n";
    for (const CKZARN_WizFileData* photo : photos) {
        POINT c[4];
        photo->values.GetCornerPoints(c);
        text += "FileName : " + photo->path + "\r\n";
        char line[160];
        std::snprintf(line, sizeof line, "Corner   : [%d, %d], [%d, %d], [%d, %d], [%d, %d]\r\n", c[0].x, c[0].y,
                      c[1].x, c[1].y, c[2].x, c[2].y, c[3].x, c[3].y);
        text += line;
    }
    text += "\r\n";
    for (int i = 0; i < curves.GetCount(); ++i) {
        const ZarnLib_CnvPolyLine& curve = curves[i];
        for (int k = 0; k < curve.GetCount(); ++k)
        {
            // "%g" with a point whatever the user's locale: the log reads the same everywhere.
            text += DecimalText::General(curve.GetPoints()[k].x, '.') + ", " +
                    DecimalText::General(curve.GetPoints()[k].y, '.') + "\r\n";
        }
    }
    text += "------------------------------------------\r\n\r\n";
    return text;
}
