#include "tests/support/FakeUsbSysfs.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

void WriteAttribute(const fs::path& file, const std::string& text)
{
    std::ofstream out(file);
    out << text << "\n";
}

std::string Hex(unsigned value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", width, value);
    return text;
}

} // namespace

FakeUsbSysfs::FakeUsbSysfs(std::string root) : root_(std::move(root))
{
    fs::create_directories(fs::path(root_) / "class" / "tty");
}

void FakeUsbSysfs::AddUsbTty(const std::string& name, std::uint16_t vendorId, std::uint16_t productId,
                             int interfaceNumber)
{
    const std::string device = "1-" + std::to_string(nextPort_++);
    const fs::path usbDevice = fs::path(root_) / "devices" / "pci0000:00" / "usb1" / device;
    const fs::path usbInterface = usbDevice / (device + ":1." + std::to_string(interfaceNumber));
    const fs::path ttyDir = usbInterface / name / "tty" / name;
    fs::create_directories(ttyDir);
    WriteAttribute(usbDevice / "idVendor", Hex(vendorId, 4));
    WriteAttribute(usbDevice / "idProduct", Hex(productId, 4));
    WriteAttribute(usbInterface / "bInterfaceNumber", Hex(static_cast<unsigned>(interfaceNumber), 2));
    WriteAttribute(ttyDir / "dev", "188:0");
    const fs::path link = fs::path(root_) / "class" / "tty" / name;
    fs::create_directory_symlink(fs::relative(ttyDir, link.parent_path()), link);
}

void FakeUsbSysfs::AddPlainTty(const std::string& name)
{
    const fs::path ttyDir = fs::path(root_) / "devices" / "platform" / "serial8250" / "tty" / name;
    fs::create_directories(ttyDir);
    WriteAttribute(ttyDir / "dev", "4:64");
    const fs::path link = fs::path(root_) / "class" / "tty" / name;
    fs::create_directory_symlink(fs::relative(ttyDir, link.parent_path()), link);
}

void FakeUsbSysfs::Remove(const std::string& name)
{
    std::error_code ec;
    const fs::path link = fs::path(root_) / "class" / "tty" / name;
    const fs::path target = fs::canonical(link, ec);
    fs::remove(link, ec);
    if (target.empty()) {
        return;
    }
    // A USB serial tty sits at <port>/tty/<name>: the port directory goes with it.
    const fs::path port = target.parent_path().parent_path();
    fs::remove_all(port.filename() == name ? port : target, ec);
}
