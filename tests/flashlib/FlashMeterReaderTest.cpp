// Identifying the attached meter: each family's meter is read once while it stays attached, the
// radio versions keep their whole four-digit field, the T-520's variant codes, several meters.
#include "tests/flash/FlashTestKit.h"

#include "flash/CZarnflashMeterReader.h"
#include "tests/flash/FlashSimLinks.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

class FlashMeterReader : public ::testing::Test {
protected:
    ScratchFolder sysfs;
    SimHidDeviceSystem hid;
    SimFlashLinks links{hid, sysfs.Path()};
    CZarnflashMeterReader reader;
};

TEST_F(FlashMeterReader, AnAttachedMeterIsReadOnceAndAgainWhenItComesBack)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, false, 0x11);
    auto& id = sim.normal->GetIdentity();
    id.versionBLead = "3132";
    id.versionBMajor = 0x01;
    id.versionBMinor = 0x05;
    id.versionALead = "3330";
    id.versionAMajor = 0xAB;
    id.versionAMinor = 0xCD;
    FlashMeterReading r = reader.Read(links);
    EXPECT_TRUE(r.Present());
    EXPECT_EQ("T-140DR", r.model);
    EXPECT_EQ("17", r.revision);
    EXPECT_EQ("12.0105", r.appVersion);
    EXPECT_EQ("30.ABCD", r.loaderVersion);
    EXPECT_EQ(kT140Path, r.devicePath);
    sim.meter->ClearLog();
    r = reader.Read(links);
    EXPECT_EQ("T-140DR", r.model);
    EXPECT_TRUE(sim.meter->Log().empty());

    sim.meter->Unplug();
    r = reader.Read(links);
    EXPECT_FALSE(r.Present());
    EXPECT_EQ("", r.model);
    sim.meter->Replug();
    id.revision = "18";
    r = reader.Read(links);
    EXPECT_EQ("18", r.revision);
}

TEST_F(FlashMeterReader, VariantCodesOfTheT520)
{
    SimFlashHidMeter sim = SimFlashHidMeter::Add(hid, true);
    const struct {
        unsigned code;
        int variant;
    } cases[] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 0}, {5, 0}};
    for (const auto& c : cases) {
        sim.normal->GetIdentity().variant = c.code;
        sim.meter->Unplug();
        reader.Read(links);
        sim.meter->Replug();
        EXPECT_EQ(c.variant, reader.Read(links).variant) << c.code;
    }
}

TEST_F(FlashMeterReader, SeveralMetersAreNoMeter)
{
    SimFlashHidMeter first = SimFlashHidMeter::Add(hid, false, 0x11);
    SimFlashHidMeter second = SimFlashHidMeter::Add(hid, true);
    const FlashMeterReading r = reader.Read(links);
    EXPECT_FALSE(r.Present());
    EXPECT_TRUE(r.several);
    EXPECT_TRUE(first.meter->Log().empty());
    EXPECT_TRUE(second.meter->Log().empty());
}

} // namespace
