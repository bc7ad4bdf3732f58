// Port discovery through sysfs: a tty counts only when its USB ancestor has the asked vendor and
// product id and its interface has the asked number.
#include "platform/UsbSerialPortFinder.h"
#include "tests/support/FakeUsbSysfs.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(UsbSerialPortFinder, FindsOnlyTtysOfTheAskedIdentity)
{
    ScratchFolder folder;
    FakeUsbSysfs sysfs(folder.Path());
    sysfs.AddUsbTty("ttyUSB3", 0x1F3C, 0x7001, 0);
    sysfs.AddUsbTty("ttyUSB1", 0x1F3C, 0x7001, 0);
    sysfs.AddUsbTty("ttyUSB0", 0x10C4, 0xEA60, 0); // same bridge chip, someone else's device
    sysfs.AddUsbTty("ttyUSB2", 0x1F3C, 0x7001, 1); // the meter's other interface
    sysfs.AddUsbTty("ttyACM0", 0x1F3C, 0x7002, 0);
    sysfs.AddPlainTty("ttyS0");
    const UsbSerialPortFinder finder(folder.Path());
    EXPECT_EQ(finder.FindPorts(0x1F3C, 0x7001, 0), (std::vector<std::string>{"ttyUSB1", "ttyUSB3"}));
    EXPECT_EQ(finder.FindPorts(0x1F3C, 0x7001, 1), (std::vector<std::string>{"ttyUSB2"}));
    EXPECT_TRUE(finder.FindPorts(0x1F3C, 0x7003, 0).empty());
    sysfs.Remove("ttyUSB1");
    EXPECT_EQ(finder.FindPorts(0x1F3C, 0x7001, 0), (std::vector<std::string>{"ttyUSB3"}));
}

TEST(UsbSerialPortFinder, MissingTreeFindsNothing)
{
    ScratchFolder folder;
    EXPECT_TRUE(UsbSerialPortFinder(folder.File("none")).FindPorts(0x1F3C, 0x7001, 0).empty());
    EXPECT_TRUE(UsbSerialPortFinder(folder.Path()).FindPorts(0x1F3C, 0x7001, 0).empty());
}

} // namespace
