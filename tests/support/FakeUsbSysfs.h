// A small sysfs tree in a folder, shaped like the kernel's: class/tty/<name> links to the tty's
// device directory, which sits below its USB interface (bInterfaceNumber) and USB device (idVendor,
// idProduct). Lets the port discovery run against attached and removed meters and other adapters.
#pragma once

#include <cstdint>
#include <string>

class FakeUsbSysfs {
public:
    // root: an existing folder that becomes the sysfs root.
    explicit FakeUsbSysfs(std::string root);

    // A tty of a USB serial adapter: class/tty/<name> -> devices/.../<bus>-<port>:1.<iface>/<name>/tty/<name>.
    void AddUsbTty(const std::string& name, std::uint16_t vendorId, std::uint16_t productId, int interfaceNumber);
    // A tty with no USB ancestor (such as a built-in UART).
    void AddPlainTty(const std::string& name);
    // Removes the tty's class link and its device directory (the device was unplugged).
    void Remove(const std::string& name);

    const std::string& Root() const { return root_; }

private:
    std::string root_;
    int nextPort_ = 1;
};
