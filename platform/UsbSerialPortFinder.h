// Finds the serial ports (ttys) that belong to a USB device of a given identity by walking sysfs:
// a tty's device path leads up through its USB interface (bInterfaceNumber) to the USB device
// (idVendor, idProduct). The sysfs root is configurable so tests can build a tree of their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class UsbSerialPortFinder {
public:
    explicit UsbSerialPortFinder(std::string sysfsRoot = "/sys");

    // Names of the ttys (such as "ttyUSB0") whose USB ancestor has the given vendor and product id
    // and whose interface number is the given one; sorted by name. Empty when sysfs cannot be read.
    std::vector<std::string> FindPorts(std::uint16_t vendorId, std::uint16_t productId,
                                       int interfaceNumber) const;

    const std::string& SysfsRoot() const { return sysfsRoot_; }

private:
    std::string sysfsRoot_;
};
