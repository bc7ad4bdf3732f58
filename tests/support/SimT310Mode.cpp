#include "tests/support/SimT310Mode.h"

#include "tests/support/MeterSimulator.h"

#include <cstdio>

namespace {

bool ParseHex(const std::string& text, unsigned* value)
{
    unsigned v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        } else {
            return false;
        }
        v = v * 16 + static_cast<unsigned>(d);
    }
    *value = v;
    return true;
}

// prefix followed by value in upper-case hexadecimal, zero-padded to width digits.
std::string Format(const char* prefix, unsigned value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%s%0*X", prefix, width, value);
    return text;
}

} // namespace

SimT310Mode::SimT310Mode() = default;

std::optional<std::string> SimT310Mode::Answer(const std::string& command, MeterSimulator& meter)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (command == "[") {
        return std::string("[");
    }
    if (command.size() != 6) {
        return std::nullopt;
    }
    unsigned value = 0;
    if (command[0] == 'L') {
        const char reg = command[5];
        if (reg == '1' && command[1] == '0' && ParseHex(command.substr(2, 3), &value)) {
            address_ = value;
            return Format("L00", value, 3);
        }
        if (command == "L00002") {
            return Format("L0", working_[address_ % kWords], 4);
        }
        if (reg == '3' && ParseHex(command.substr(1, 4), &value)) {
            working_[address_ % kWords] = static_cast<std::uint16_t>(value);
            return Format("L0", value, 4);
        }
        if (command == "L00008") {
            committing_ = true;
            const int status = meter.NextCommitStatus(true);
            ApplyStatus(status);
            return Format("L0000", static_cast<unsigned>(status) & 0xF, 1);
        }
        if (command == "L00007") {
            const int status = meter.NextCommitStatus(false);
            ApplyStatus(status);
            return Format("L0000", static_cast<unsigned>(status) & 0xF, 1);
        }
        return std::nullopt;
    }
    if (command == "G00000") {
        return std::string("G0000") + modelDigit_;
    }
    if (command == "G00001") {
        return "G000" + revision_;
    }
    if (command == "G00002") {
        return "G0" + date_.substr(0, 4);
    }
    if (command == "G00003") {
        return "G0" + date_.substr(4, 4);
    }
    return std::nullopt;
}

void SimT310Mode::ApplyStatus(int status)
{
    if (!committing_ || status == 3) {
        return;
    }
    committing_ = false;
    if (status == 2) {
        saved_ = working_;
        ++commits_;
    } else {
        working_ = saved_;
    }
}

void SimT310Mode::OnLinkClosed()
{
    std::lock_guard<std::mutex> lock(mutex_);
    working_ = saved_;
    committing_ = false;
}

std::uint16_t SimT310Mode::SavedWord(unsigned address) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return saved_[address % kWords];
}

void SimT310Mode::SetSavedWord(unsigned address, std::uint16_t word)
{
    std::lock_guard<std::mutex> lock(mutex_);
    saved_[address % kWords] = word;
    working_[address % kWords] = word;
}

std::array<std::uint16_t, SimT310Mode::kWords> SimT310Mode::SavedMemory() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return saved_;
}

void SimT310Mode::FillPattern(std::uint16_t seed)
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::uint32_t x = seed * 2654435761u + 1;
    for (std::size_t a = 0; a < kWords; ++a) {
        x = x * 1103515245u + 12345u;
        saved_[a] = static_cast<std::uint16_t>(x >> 12);
    }
    working_ = saved_;
}

void SimT310Mode::SetModelDigit(char digit)
{
    std::lock_guard<std::mutex> lock(mutex_);
    modelDigit_ = digit;
}

void SimT310Mode::SetRevision(const std::string& two)
{
    std::lock_guard<std::mutex> lock(mutex_);
    revision_ = two;
}

void SimT310Mode::SetDate(const std::string& yyyymmdd)
{
    std::lock_guard<std::mutex> lock(mutex_);
    date_ = yyyymmdd;
}

int SimT310Mode::Commits() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return commits_;
}
