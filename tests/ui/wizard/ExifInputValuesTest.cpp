// The photograph record: construction, reset, copies that never share the image or the lock, the
// corners brought back to photograph pixels, and the required photograph counts.
#include "ui/wizard/ExifInputValues.h"
#include "ui/wizard/WizardCineCodes.h"
#include "ui/wizard/WizardData.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ExifInputValues, ConstructionAndResetValues)
{
    ExifInputValues record;
    EXPECT_EQ(ExifInputValues::kNotLoaded, record.loadResult);
    EXPECT_EQ(-1, record.iso);
    EXPECT_EQ(999.999, record.typedShutterAngle);
    EXPECT_EQ(0.0, record.scale);
    EXPECT_EQ(0.0, record.dateTime.m_dt);

    record.path = "x.jpg";
    record.iso = 200;
    record.checked = 1;
    record.corners[2] = {5, 6};
    record.Reset();
    EXPECT_EQ("", record.path);
    EXPECT_EQ(-1, record.iso);
    EXPECT_EQ(0, record.checked);
    EXPECT_FALSE(record.HasCornerPoints());
    EXPECT_EQ(1.0, record.scale);
    EXPECT_EQ(2.0, record.dateTime.m_dt) << "1900-01-01 as an OLE date";
    EXPECT_EQ(COleDateTime::valid, record.dateTime.m_status);
}

TEST(ExifInputValues, CopyKeepsTheDataButNotTheDateOrTheLaterReservedValues)
{
    ExifInputValues record;
    record.path = "a.tif";
    record.reserved1 = 7;
    record.reserved2 = 8;
    record.dateTime.m_dt = 4000.5;
    record.shutterIndex = 40;
    record.typedFrameRate = 25.0;
    record.brightnessLevel = -3;
    record.corners[1] = {9, 10};
    record.scale = 0.25;
    const ExifInputValues copy(record);
    EXPECT_EQ("a.tif", copy.path);
    EXPECT_EQ(7, copy.reserved1);
    EXPECT_EQ(0, copy.reserved2);
    EXPECT_EQ(0.0, copy.dateTime.m_dt);
    EXPECT_EQ(40, copy.shutterIndex);
    EXPECT_EQ(25.0, copy.typedFrameRate);
    EXPECT_EQ(-3, copy.brightnessLevel);
    EXPECT_EQ(10, copy.corners[1].y);
    EXPECT_EQ(0.25, copy.scale);
    EXPECT_EQ(nullptr, copy.GetImage());

    ExifInputValues exposure;
    exposure.AssignExposure(record);
    EXPECT_EQ(40, exposure.shutterIndex);
    EXPECT_EQ("", exposure.path) << "only the exposure values are copied";
    EXPECT_FALSE(exposure.HasCornerPoints());
}

TEST(ExifInputValues, CornerPointsInPhotographPixels)
{
    struct Row {
        double scale;
        POINT stored, expected;
    };
    const Row rows[] = {
        {0.5, {101, 51}, {202, 102}},
        {2.0, {3, 3}, {1, 1}},
        {3.0, {-7, 8}, {-2, 2}},
        // No usable scale: no corners rather than a division by zero.
        {0.0, {101, 51}, {0, 0}},
        {-1.0, {101, 51}, {0, 0}},
        {std::numeric_limits<double>::quiet_NaN(), {101, 51}, {0, 0}},
        {1e-12, {101, 51}, {0, 0}},
    };
    for (const Row& row : rows) {
        ExifInputValues record;
        record.scale = row.scale;
        for (POINT& p : record.corners)
            p = row.stored;
        POINT out[4];
        record.GetCornerPoints(out);
        for (const POINT& p : out) {
            EXPECT_EQ(row.expected.x, p.x) << row.scale;
            EXPECT_EQ(row.expected.y, p.y) << row.scale;
        }
    }
}

TEST(ExifInputValues, HasCornerPointsWhenAnyCoordinateIsSet)
{
    ExifInputValues record;
    EXPECT_FALSE(record.HasCornerPoints());
    record.corners[3].y = 1;
    EXPECT_TRUE(record.HasCornerPoints());
}

TEST(WizardCineCodes, CodesThatStandForFractions)
{
    EXPECT_EQ(23.976, WizardCineCodes::FrameRateFromCode(23));
    EXPECT_EQ(24.0, WizardCineCodes::FrameRateFromCode(24));
    EXPECT_EQ(29.97, WizardCineCodes::FrameRateFromCode(29));
    EXPECT_EQ(47.952, WizardCineCodes::FrameRateFromCode(47));
    EXPECT_EQ(59.94, WizardCineCodes::FrameRateFromCode(59));
    EXPECT_EQ(22.5, WizardCineCodes::ShutterAngleFromCode(23));
    EXPECT_EQ(43.2, WizardCineCodes::ShutterAngleFromCode(432));
    EXPECT_EQ(86.4, WizardCineCodes::ShutterAngleFromCode(864));
    EXPECT_EQ(11.25, WizardCineCodes::ShutterAngleFromCode(1125));
    EXPECT_EQ(172.8, WizardCineCodes::ShutterAngleFromCode(1728));
    EXPECT_EQ(180.0, WizardCineCodes::ShutterAngleFromCode(180));
}

TEST(WizardData, RequiredPhotographCount)
{
    struct Row {
        int target, range, count;
    };
    const Row rows[] = {{0, 0, 11}, {0, 1, 21}, {1, 0, 3}, {1, 1, 5}, {2, 0, 3}, {2, 1, 5},
                        {5, 0, 3},  {5, 1, 5},  {3, 0, -1}, {4, 1, -1}, {0, 2, -1}, {1, -1, -1}};
    for (const Row& row : rows) {
        WizardData data;
        data.target = row.target;
        data.expandedRange = row.range;
        EXPECT_EQ(row.count, data.GetRequiredPhotoCount()) << row.target << "/" << row.range;
    }
}

} // namespace
