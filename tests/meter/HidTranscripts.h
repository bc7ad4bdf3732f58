// The command sequences the HID meters expect for each operation, built from the meter's memory
// (text lengths decide how many text units travel).
#pragma once

#include "tests/meter/HidMeterRig.h"

#include <string>
#include <vector>

using Transcript = std::vector<std::string>;

inline void Append(Transcript& t, const Transcript& more)
{
    t.insert(t.end(), more.begin(), more.end());
}

inline Transcript TextRead(int units)
{
    Transcript t{"W00009"};
    for (int i = 0; i < units; ++i) t.push_back("W0000A");
    return t;
}

inline Transcript TextWrite(const std::array<std::uint16_t, 16>& text)
{
    Transcript t{"W00009"};
    for (int i = 0; i < TextLength(text); ++i) t.push_back(Cmd("W", text[static_cast<std::size_t>(i)], 4, "B"));
    return t;
}

// Commit with the given number of completion polls.
inline Transcript Commit(int polls)
{
    Transcript t{"W0000F"};
    for (int i = 0; i < polls; ++i) t.push_back("W0000E");
    return t;
}

inline Transcript CustomRead(const std::vector<std::pair<unsigned, std::size_t>>& items)
{
    Transcript t{"W00001"};
    for (const auto& item : items) {
        t.push_back(Cmd("W0", item.first, 3, "3"));
        t.push_back("W00004");
    }
    return t;
}

inline Transcript CustomWrite(const std::vector<std::pair<unsigned, std::size_t>>& items, const SimRegisterMemory& m)
{
    Transcript t{"W00001"};
    for (const auto& item : items) {
        t.push_back(Cmd("W0", item.first, 3, "3"));
        t.push_back(Cmd("W000", m.custom.at(item.first), 1, "5"));
    }
    return t;
}

inline Transcript TablesRead(const SimRegisterMemory& m)
{
    Transcript t;
    for (const char* area : {"W00101", "W00111"}) {
        t.push_back(area);
        for (unsigned e = 0; e < 20; ++e) Append(t, {Cmd("W00", e, 2, "3"), "W00004", "W00006", "W00008"});
    }
    t.push_back("W00121");
    for (unsigned e = 0; e < 30; ++e) {
        Append(t, {Cmd("W00", e, 2, "3"), "W00004", "W00006"});
        Append(t, TextRead(TextLength(m.list12[e].name)));
    }
    return t;
}

inline Transcript TablesWrite(const SimRegisterMemory& m, bool t520, int polls)
{
    Transcript t{"W00101"};
    for (unsigned e = 0; e < 20; ++e) {
        const auto& x = m.list10[e];
        Append(t, {Cmd("W00", e, 2, "3"), Cmd("W000", x.value, 1, "5"), Cmd("W", x.fieldA, 4, "7"),
                   t520 ? Cmd("W0", x.fieldB, 3, "9") : Cmd("W00", x.fieldB, 2, "9"), "W0000D"});
    }
    Append(t, Commit(polls));
    t.push_back("W00111");
    for (unsigned e = 0; e < 20; ++e) {
        const auto& x = m.list11[e];
        Append(t, {Cmd("W00", e, 2, "3"), Cmd("W000", x.value, 1, "5"), Cmd("W", x.fieldA, 4, "7"),
                   Cmd("W00", x.fieldB, 2, "9"), "W0000D"});
    }
    Append(t, Commit(polls));
    t.push_back("W00121");
    for (unsigned e = 0; e < 30; ++e) {
        const auto& x = m.list12[e];
        Append(t, {Cmd("W00", e, 2, "3"), Cmd("W000", x.value, 1, "5"), Cmd("W", x.fieldA, 4, "7")});
        Append(t, TextWrite(x.name));
    }
    Append(t, Commit(polls));
    return t;
}

// Level selections and data commands of one slot; `write` sends the slot's bytes.
inline Transcript SlotBody(const SimRegisterMemory& m, int slot, int rows, bool write)
{
    Transcript t;
    const auto& s = m.slots[static_cast<std::size_t>(slot)];
    for (unsigned l1 = 0; l1 < 2; ++l1) {
        t.push_back(Cmd("W00", l1, 1, "13"));
        for (unsigned l2 = 0; l2 < 2; ++l2) {
            Append(t, {Cmd("W00", l2, 1, "23"), "W00033", "W00043"});
            for (int r = 0; r < rows; ++r)
                for (int k = 0; k < 5; ++k)
                    t.push_back(write ? Cmd("W00", s.data[static_cast<std::size_t>((r * 4 + static_cast<int>(2 * l1 + l2)) * 5 + k)], 2, "7")
                                      : std::string("W00006"));
        }
    }
    return t;
}

inline Transcript AllProfilesRead(const SimRegisterMemory& m, int rows)
{
    Transcript t{"W00011", "W00009"};
    for (int i = 0; i < TextLength(m.header); ++i) t.push_back("W0000A");
    t.push_back("W00201");
    for (int s = 0; s < 10; ++s) {
        t.push_back(Cmd("W00", static_cast<unsigned>(s), 1, "03"));
        Append(t, TextRead(TextLength(m.slots[static_cast<std::size_t>(s)].name)));
        Append(t, SlotBody(m, s, rows, false));
    }
    return t;
}

inline Transcript NamesRead(const SimRegisterMemory& m)
{
    Transcript t{"W00201"};
    for (int s = 0; s < 10; ++s) {
        t.push_back(Cmd("W00", static_cast<unsigned>(s), 1, "03"));
        Append(t, TextRead(TextLength(m.slots[static_cast<std::size_t>(s)].name)));
    }
    return t;
}

inline Transcript ProfilesWrite(const SimRegisterMemory& m, int rows, unsigned mask, int polls)
{
    Transcript t;
    if (mask & 0x400) {
        Append(t, {"W00011", "W00009"});
        for (int i = 0; i < TextLength(m.header); ++i) t.push_back(Cmd("W", m.header[static_cast<std::size_t>(i)], 4, "B"));
        Append(t, Commit(polls));
    }
    t.push_back("W00201");
    for (int s = 0; s < 10; ++s) {
        if (!(mask & (1u << s))) continue;
        Append(t, {Cmd("W00", static_cast<unsigned>(s), 1, "03"), "W00015"});
        Append(t, TextWrite(m.slots[static_cast<std::size_t>(s)].name));
        Append(t, SlotBody(m, s, rows, true));
    }
    Append(t, Commit(polls));
    return t;
}
