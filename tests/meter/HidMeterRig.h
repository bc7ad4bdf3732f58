// A HID meter link wired to one simulated meter, with a message sink that records progress posts,
// and a memory pattern that exercises every field of a meter's memory.
#pragma once

#include "platform/MessageSink.h"
#include "tests/support/MeterSimulator.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimRegisterMeter.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <memory>
#include <string>
#include <vector>

struct RecordingSink final : MessageSink {
    struct Post {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    HWND live{7};
    std::vector<Post> posts;
    BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (window != live) return FALSE;
        posts.push_back(Post{message, wParam, lParam});
        return TRUE;
    }
    BOOL IsWindow(HWND window) const override { return window == live ? TRUE : FALSE; }
};

constexpr UINT kProgressMessage = 0x402;
constexpr const char* kMeterPath = "/dev/hidraw4";

template <typename Comm>
struct HidMeterRig {
    SimHidDeviceSystem system;
    SimRegisterMeter* sim = nullptr;
    std::shared_ptr<MeterSimulator> meter;
    RecordingSink sink;
    Comm comm{system};

    HidMeterRig(std::unique_ptr<SimRegisterMeter> mode, std::uint16_t productId)
    {
        sim = mode.get();
        meter = system.AddMeter(kMeterPath, 0x1F3C, productId, std::move(mode));
        comm.SetMessageSink(&sink);
    }
    // Opens as the worker does: open, its time-outs, the progress target.
    bool Open()
    {
        if (!comm.OpenDevice()) return false;
        const COMMTIMEOUTS timeouts{100, 20, 500, 20, 500};
        comm.SetTimeouts(&timeouts);
        comm.SetNotifyWindow(sink.live, kProgressMessage);
        meter->ClearLog();
        meter->ResetExchangeCount();
        return true;
    }
    std::vector<std::string> Log() const { return meter->Log(); }
    int LastProgress() const { return sink.posts.empty() ? 0 : static_cast<int>(sink.posts.back().wParam); }
    int Total() const { return sink.posts.empty() ? -1 : static_cast<int>(sink.posts.back().lParam); }
};

// Text of n units without a zero byte, then a unit with a zero high byte when n < 16, then zeros.
inline std::array<std::uint16_t, 16> SimText(int n, int seed)
{
    std::array<std::uint16_t, 16> t{};
    for (int i = 0; i < n; ++i) t[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(0x4142 + 0x0101 * ((seed + i) % 20));
    if (n < 16) t[static_cast<std::size_t>(n)] = static_cast<std::uint16_t>(0x0030 + seed % 9); // ends the text
    return t;
}

// Fills every field with values that differ per field and stay within what the meter accepts.
inline SimRegisterMemory PatternMemory(const SimRegisterMeter& sim, bool t520)
{
    SimRegisterMemory m = sim.Factory();
    const unsigned maxValue = t520 ? 5 : 3;
    unsigned i = 0;
    for (auto& [code, value] : m.custom) value = (code + i++) % (maxValue + 1);
    m.header = SimText(6, 1);
    for (unsigned e = 0; e < 20; ++e) {
        m.list10[e] = {e % (maxValue + 1), 0x1000 + 0x111 * e, t520 ? (0x9FF - 0x71 * e) : (0xC0 + e), {}};
        m.list11[e] = {(e + 1) % (maxValue + 1), 0xF000 - 0x123 * e, 0x80 + 3 * e, {}};
    }
    for (unsigned e = 0; e < 30; ++e) {
        m.list12[e] = {(e + 2) % (maxValue + 1), 0x2222 + e, 0, SimText(static_cast<int>(e % 17), static_cast<int>(e))};
    }
    for (int s = 0; s < 10; ++s) {
        auto& slot = m.slots[static_cast<std::size_t>(s)];
        slot.used = 1;
        slot.name = SimText(s == 9 ? 16 : s, s + 3);
        for (std::size_t k = 0; k < slot.data.size(); ++k) slot.data[k] = static_cast<std::uint8_t>(s * 31 + k * 7 + 1);
    }
    return m;
}

// Units a text transfer moves: up to and including the first unit with a zero byte, at most 16.
inline int TextLength(const std::array<std::uint16_t, 16>& t)
{
    for (int i = 0; i < 16; ++i) {
        const std::uint16_t u = t[static_cast<std::size_t>(i)];
        if ((u & 0xFF) == 0 || (u & 0xFF00) == 0) return i + 1;
    }
    return 16;
}

// Custom-function item code -> transfer block byte, as the meters' block layout places them.
inline std::vector<std::pair<unsigned, std::size_t>> CustomBytes(bool t520)
{
    std::vector<std::pair<unsigned, std::size_t>> items = {
        {0x000, 32}, {0x001, 33}, {0x002, 34}, {0x003, 35}, {0x004, 37}, {0x005, 36}, {0x100, 38}, {0x101, 39},
        {0x102, 40}, {0x103, 41}, {0x104, 42}, {0x105, 43}, {0x106, 44}, {0x200, 45}, {0x201, 46}, {0x202, 47},
        {0x203, 48}, {0x210, 49}, {0x220, 50}, {0x300, 51}, {0x301, 52}, {0x302, 53}, {0x303, 54}};
    if (t520) {
        const std::vector<std::pair<unsigned, std::size_t>> more = {
            {0x007, 55}, {0x008, 56}, {0x230, 57}, {0x231, 58}, {0x240, 59}, {0x241, 60},
            {0x242, 61}, {0x243, 62}, {0x211, 63}, {0x304, 65}, {0x232, 64}};
        items.insert(items.end(), more.begin(), more.end());
    }
    return items;
}

// The block a complete read of the meter gives when it starts from a zeroed block: only the
// transferred fields set, written out from the meter's own picture of its memory.
template <typename Block>
Block MemoryToBlock(const SimRegisterMemory& m, bool t520)
{
    Block b;
    auto putText = [&b](std::size_t offset, const std::array<std::uint16_t, 16>& t) {
        for (int i = 0; i < TextLength(t); ++i) b.SetWord(offset + 2 * static_cast<std::size_t>(i), t[static_cast<std::size_t>(i)]);
    };
    putText(0, m.header);
    for (const auto& [code, byte] : CustomBytes(t520)) b.bytes[byte] = static_cast<std::uint8_t>(m.custom.at(code));
    for (std::size_t e = 0; e < 20; ++e) {
        const std::size_t o10 = Block::kList10 + 6 * e;
        b.bytes[o10] = static_cast<std::uint8_t>(m.list10[e].value);
        b.SetWord(o10 + 2, static_cast<std::uint16_t>(m.list10[e].fieldA));
        if (t520) {
            b.SetWord(o10 + 4, static_cast<std::uint16_t>(m.list10[e].fieldB));
        } else {
            b.bytes[o10 + 4] = static_cast<std::uint8_t>(m.list10[e].fieldB);
        }
        const std::size_t o11 = Block::kList11 + 6 * e;
        b.bytes[o11] = static_cast<std::uint8_t>(m.list11[e].value);
        b.SetWord(o11 + 2, static_cast<std::uint16_t>(m.list11[e].fieldA));
        b.bytes[o11 + 4] = static_cast<std::uint8_t>(m.list11[e].fieldB);
    }
    for (std::size_t e = 0; e < 30; ++e) {
        const std::size_t o = Block::kList12 + 36 * e;
        b.bytes[o] = static_cast<std::uint8_t>(m.list12[e].value);
        putText(o + 2, m.list12[e].name);
        b.SetWord(o + 34, static_cast<std::uint16_t>(m.list12[e].fieldA));
    }
    for (int s = 0; s < 10; ++s) {
        const auto& slot = m.slots[static_cast<std::size_t>(s)];
        putText(Block::SlotOffset(s), slot.name);
        for (int r = 0; r < Block::kRows; ++r)
            for (int g = 0; g < 4; ++g)
                for (int k = 0; k < 5; ++k)
                    b.bytes[Block::ProfileByte(s, r, g, k)] =
                        slot.data[static_cast<std::size_t>((r * 4 + g) * 5 + k)];
    }
    return b;
}

// Six-character command: head, value in `width` hex digits, tail.
inline std::string Cmd(const char* head, unsigned value, int width, const char* tail)
{
    char text[32];
    std::snprintf(text, sizeof text, "%s%0*X%s", head, width, value, tail);
    return text;
}
