// The settings and profile memory of a simulated HID meter, kept in the meter's own terms (items by
// code, list entries, slots with groups of rows) rather than in a transfer block's layout, so tests
// compare what the links put into a block against an independent picture of the meter.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

struct SimRegisterMemory {
    struct Entry {
        unsigned value = 0;
        unsigned fieldA = 0;
        unsigned fieldB = 0;
        std::array<std::uint16_t, 16> name{};
        friend bool operator==(const Entry&, const Entry&) = default;
    };
    struct Slot {
        unsigned used = 0;
        std::array<std::uint16_t, 16> name{};
        std::vector<std::uint8_t> data; // rows x 4 groups x 5 bytes: [(row * 4 + group) * 5 + byte]
        friend bool operator==(const Slot&, const Slot&) = default;
    };

    std::array<std::uint16_t, 16> header{};
    std::map<unsigned, unsigned> custom; // item code -> value
    std::array<Entry, 20> list10{};
    std::array<Entry, 20> list11{};
    std::array<Entry, 30> list12{};
    std::array<Slot, 10> slots{};

    std::uint8_t& Data(int slot, int row, int group, int byte)
    {
        return slots[static_cast<std::size_t>(slot)].data[static_cast<std::size_t>((row * 4 + group) * 5 + byte)];
    }
    friend bool operator==(const SimRegisterMemory&, const SimRegisterMemory&) = default;
};
