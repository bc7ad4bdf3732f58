#include "platform/UsbSerialPortFinder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Reads the first line of a sysfs attribute file; nullopt when it is missing.
std::optional<std::string> ReadAttribute(const fs::path& file)
{
    std::ifstream in(file);
    if (!in) {
        return std::nullopt;
    }
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    return line;
}

// Parses a hexadecimal attribute such as "1f3c" or "00"; nullopt unless every character is a digit.
std::optional<unsigned long> ParseHex(const std::optional<std::string>& text)
{
    if (!text || text->empty() || text->size() > 8) {
        return std::nullopt;
    }
    unsigned long value = 0;
    for (char c : *text) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned long>(digit);
    }
    return value;
}

bool IsInside(const fs::path& path, const fs::path& root)
{
    auto rel = path.lexically_relative(root);
    return !rel.empty() && *rel.begin() != "..";
}

// Walks up from a tty's device directory: the first directory with bInterfaceNumber is its USB
// interface, the first one above that with idVendor and idProduct its USB device.
bool MatchesIdentity(const fs::path& deviceDir, const fs::path& root, unsigned long vendorId,
                     unsigned long productId, unsigned long interfaceNumber)
{
    std::optional<unsigned long> iface;
    for (fs::path dir = deviceDir; IsInside(dir, root); dir = dir.parent_path()) {
        if (!iface) {
            iface = ParseHex(ReadAttribute(dir / "bInterfaceNumber"));
            continue;
        }
        auto vendor = ParseHex(ReadAttribute(dir / "idVendor"));
        auto product = ParseHex(ReadAttribute(dir / "idProduct"));
        if (vendor && product) {
            return *vendor == vendorId && *product == productId && *iface == interfaceNumber;
        }
        if (dir == dir.parent_path()) {
            break;
        }
    }
    return false;
}

} // namespace

UsbSerialPortFinder::UsbSerialPortFinder(std::string sysfsRoot) : sysfsRoot_(std::move(sysfsRoot)) {}

std::vector<std::string> UsbSerialPortFinder::FindPorts(std::uint16_t vendorId, std::uint16_t productId,
                                                        int interfaceNumber) const
{
    std::vector<std::string> ports;
    if (interfaceNumber < 0) {
        return ports;
    }
    std::error_code ec;
    const fs::path root = fs::canonical(sysfsRoot_, ec);
    if (ec) {
        return ports;
    }
    fs::directory_iterator it(root / "class" / "tty", ec);
    if (ec) {
        return ports;
    }
    for (const auto& entry : it) {
        std::error_code entryEc;
        const fs::path resolved = fs::canonical(entry.path(), entryEc);
        if (entryEc || !IsInside(resolved, root)) {
            continue;
        }
        if (MatchesIdentity(resolved, root, vendorId, productId,
                            static_cast<unsigned long>(interfaceNumber))) {
            ports.push_back(entry.path().filename().string());
        }
    }
    std::sort(ports.begin(), ports.end());
    return ports;
}
