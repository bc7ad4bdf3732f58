// Image of a T-310 meter's memory, 3108 bytes: the header text, two custom-setting words and three
// profile slots, each meter word stored as a 16-bit little-endian integer. Operations that move
// one part of it leave every other byte as it was.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct T310TransferBlock {
    static constexpr std::size_t kSize = 3108;
    static constexpr std::size_t kHeaderText = 0; // words 0x100 to 0x10F
    static constexpr std::size_t kCustom = 32;    // words 0x110 and 0x111
    static constexpr std::size_t kProfiles = 36;  // words 0x200 to 0x7FF
    static constexpr std::size_t kSlotSize = 1024;
    static constexpr int kSlots = 3;

    static constexpr unsigned kHeaderAddress = 0x100;
    static constexpr unsigned kCustomAddress = 0x110;
    static constexpr unsigned kSlotAddress = 0x200; // slot s starts at 0x200 + 0x200 * s
    static constexpr unsigned kSlotWords = 0x200;

    std::array<std::uint8_t, kSize> bytes{};

    std::uint16_t GetWord(std::size_t offset) const
    {
        return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    }
    void SetWord(std::size_t offset, std::uint16_t value)
    {
        bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    static constexpr std::size_t SlotOffset(int slot) { return kProfiles + kSlotSize * static_cast<std::size_t>(slot); }
    // Block byte of a meter word address that the block holds (0x100 to 0x111, 0x200 to 0x7FF).
    static constexpr std::size_t OffsetOfAddress(unsigned address)
    {
        return address >= kSlotAddress ? kProfiles + 2 * static_cast<std::size_t>(address - kSlotAddress)
                                       : 2 * static_cast<std::size_t>(address - kHeaderAddress);
    }
};

static_assert(sizeof(T310TransferBlock) == T310TransferBlock::kSize);
static_assert(T310TransferBlock::SlotOffset(3) == T310TransferBlock::kSize);
static_assert(T310TransferBlock::OffsetOfAddress(0x110) == T310TransferBlock::kCustom);
static_assert(T310TransferBlock::OffsetOfAddress(0x7FF) == T310TransferBlock::kSize - 2);
