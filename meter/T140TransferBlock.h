// Image of a T-140 meter's settings and profile memory, 15096 bytes, little-endian: header text,
// custom-function values, three user lists and ten profile slots. Operations that move one part of
// it leave every other byte as it was.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct T140TransferBlock {
    static constexpr std::size_t kSize = 15096;
    static constexpr std::size_t kHeaderText = 0;   // 16 text units
    static constexpr std::size_t kCustom = 32;       // one byte per custom-function item
    static constexpr std::size_t kCustomCount = 23;
    static constexpr std::size_t kList10 = 56;      // 20 entries of 6 bytes
    static constexpr std::size_t kList11 = 176;     // 20 entries of 6 bytes
    static constexpr std::size_t kList12 = 296;     // 30 entries of 36 bytes
    static constexpr std::size_t kListEntry = 6;
    static constexpr std::size_t kNamedListEntry = 36;
    static constexpr std::size_t kProfiles = 1376;   // ten slots
    static constexpr std::size_t kSlotSize = 1372;   // 32-byte name, then 20 bytes per row
    static constexpr int kRows = 52;               // 52 rows transferred; slot bytes 1072 to 1371 never are

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
    // Byte b (0 to 4) of group g (0 to 3) of row r in slot s.
    static constexpr std::size_t ProfileByte(int slot, int row, int group, int byte)
    {
        return SlotOffset(slot) + 32 + static_cast<std::size_t>(20 * row + 5 * group + byte);
    }
};

static_assert(sizeof(T140TransferBlock) == T140TransferBlock::kSize);
static_assert(T140TransferBlock::SlotOffset(10) == T140TransferBlock::kSize);
