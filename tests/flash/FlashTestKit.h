// Helpers of the downloader's tests: a message target that records what the worker posts, script
// files of the right form, and a simulated HID meter in update mode.
#pragma once

#include "flash/FlashMessageTarget.h"
#include "flash/ZarnflashDefs.h"
#include "tests/support/SimFlashMode.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimRegisterMeter.h"

#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

struct FlashMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    unsigned Range() const { return static_cast<unsigned>(lParam) & 0xFFFF; }
    unsigned Position() const { return (static_cast<unsigned>(lParam) >> 16) & 0xFFFF; }
};

class RecordingFlashTarget final : public FlashMessageTarget {
public:
    void PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({message, wParam, lParam});
    }
    std::vector<FlashMessage> Messages() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return messages_;
    }
    // (range, position) of every progress message, in order.
    std::vector<std::pair<unsigned, unsigned>> Progress() const
    {
        std::vector<std::pair<unsigned, unsigned>> out;
        for (const FlashMessage& m : Messages()) {
            if (m.message == WM_UPDATE_PROGRESS) out.emplace_back(m.Range(), m.Position());
        }
        return out;
    }
    FlashMessage Last() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return messages_.empty() ? FlashMessage{0, 0, 0} : messages_.back();
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::vector<FlashMessage> messages_;
};

// A 35-character data record whose payload is the number n.
inline std::string FlashRecord(int n)
{
    char text[40];
    std::snprintf(text, sizeof text, "R%034d", n);
    return text;
}

// entry, erase, records, final check.
inline std::vector<std::string> FlashScriptLines(const std::string& entry, int records)
{
    std::vector<std::string> lines{entry, "Q00001"};
    for (int i = 0; i < records; ++i) lines.push_back(FlashRecord(i));
    lines.push_back("Q000F1");
    return lines;
}

inline void WriteFlashFile(const std::string& path, const std::vector<std::string>& lines, const char* eol = "\r\n")
{
    std::ofstream out(path, std::ios::binary);
    for (const std::string& line : lines) out << line << eol;
}

inline void WriteFlashText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

constexpr const char* kT140Path = "/dev/hidraw-t140";
constexpr const char* kT520Path = "/dev/hidraw-t520";

// A simulated meter of a HID family in normal mode with the update mode behind it.
struct SimFlashHidMeter {
    std::shared_ptr<MeterSimulator> meter;
    SimFlashMode* mode = nullptr;
    SimRegisterMeter* normal = nullptr;

    static SimFlashHidMeter Add(SimHidDeviceSystem& system, bool t520, unsigned modelCode = 0x11,
                                const char* path = nullptr)
    {
        auto normal = t520 ? SimRegisterMeter::T520() : SimRegisterMeter::T140(modelCode);
        SimRegisterMeter* raw = normal.get();
        auto flash = std::make_unique<SimFlashMode>(std::move(normal));
        SimFlashMode* flashRaw = flash.get();
        SimFlashHidMeter out;
        out.meter = system.AddMeter(path ? path : (t520 ? kT520Path : kT140Path), 0x1F3C,
                                    t520 ? 0x7004 : 0x7002, std::move(flash));
        out.mode = flashRaw;
        out.normal = raw;
        return out;
    }
};
