#include "tests/support/SimRegisterMeter.h"

#include "tests/support/MeterSimulator.h"

namespace {

const std::vector<unsigned> kT520Items = {0x000, 0x001, 0x002, 0x003, 0x004, 0x005, 0x006, 0x100, 0x101,
                                          0x102, 0x103, 0x104, 0x105, 0x106, 0x200, 0x201, 0x202, 0x203,
                                          0x210, 0x220, 0x300, 0x301, 0x302, 0x303, 0x007, 0x008, 0x230,
                                          0x231, 0x240, 0x241, 0x242, 0x243, 0x211, 0x232, 0x304};

int Hex(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Strict upper-case hexadecimal value of command characters [first, first + count); -1 if any is not.
int Field(const std::string& s, std::size_t first, std::size_t count)
{
    int value = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        const int d = Hex(s[i]);
        if (d < 0) return -1;
        value = value * 16 + d;
    }
    return value;
}

// A reply: the letter, then the value right-aligned in five characters.
std::string Reply(char letter, unsigned value, int width)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string r(6, '0');
    r[0] = letter;
    for (int i = 0; i < width; ++i) r[static_cast<std::size_t>(5 - i)] = kDigits[(value >> (4 * i)) & 0xF];
    return r;
}

} // namespace

SimRegisterMeter::SimRegisterMeter(bool t520, const Identity& identity)
    : t520_(t520), rows_(t520 ? 67 : 52), identity_(identity)
{
    itemCodes_.assign(kT520Items.begin(), kT520Items.begin() + (t520 ? 35 : 24));
    saved_ = Factory();
    working_ = saved_;
}

std::unique_ptr<SimRegisterMeter> SimRegisterMeter::T520()
{
    return std::make_unique<SimRegisterMeter>(true, Identity{});
}

std::unique_ptr<SimRegisterMeter> SimRegisterMeter::T140(unsigned modelCode)
{
    Identity identity;
    identity.modelCode = modelCode;
    identity.revision = "17";
    return std::make_unique<SimRegisterMeter>(false, identity);
}

SimRegisterMemory SimRegisterMeter::Factory() const
{
    SimRegisterMemory m;
    for (unsigned code : itemCodes_) m.custom[code] = 0;
    for (auto& slot : m.slots) slot.data.assign(static_cast<std::size_t>(rows_) * 20, 0);
    return m;
}

void SimRegisterMeter::SetSaved(const SimRegisterMemory& memory)
{
    saved_ = memory;
    working_ = memory;
}

void SimRegisterMeter::OnLinkClosed()
{
    working_ = saved_;
    commitPending_ = false;
    resetPending_ = false;
    area_ = -1;
}

std::string SimRegisterMeter::Violation(const std::string& command, const char* why)
{
    violations_.push_back(command + ": " + why);
    return "E00000";
}

std::optional<std::string> SimRegisterMeter::Answer(const std::string& command, MeterSimulator& meter)
{
    if (command.size() != 6) {
        violations_.push_back(command + ": not six characters");
        return std::nullopt;
    }
    if (command[0] == 'G') return Query(command, meter);
    if (command[0] == 'W') return Register(command, meter);
    return Violation(command, "unknown letter");
}

std::string SimRegisterMeter::Query(const std::string& command, MeterSimulator& meter)
{
    if (command.compare(1, 3, "000") != 0) return Violation(command, "malformed query");
    const std::string key = command.substr(4, 2);
    const Identity& id = identity_;
    if (key == "00") {
        if (meter.TakeBusy("G00000")) return "G000FC";
        return Reply('G', id.modelCode, 2);
    }
    if (key == "01") return "G000" + id.revision;
    if (key == "02") return "G0" + id.year;
    if (key == "03") return "G0" + id.monthDay;
    if (key == "06") return Reply('G', id.state, 2);
    if (key == "07") {
        if (meter.TakeBusy("G00007")) return "G0000F";
        return Reply('G', id.status, 2);
    }
    if (key == "0B") return Reply('G', id.variant, 2);
    if (key == "11") return "G000" + id.info11;
    if (key == "1A") return "G0" + id.versionALead;
    if (key == "0A") return Reply('G', (id.versionAMajor << 8) | id.versionAMinor, 4);
    if (key == "19") return "G0" + id.versionBLead;
    if (key == "09") return Reply('G', (id.versionBMajor << 8) | id.versionBMinor, 4);
    return Violation(command, "unknown query");
}

void SimRegisterMeter::Settle(int status)
{
    lastStatus_ = status;
    if (status == 3) return;
    commitPending_ = false;
    if (status == 2) {
        if (resetPending_) {
            saved_ = Factory();
            working_ = saved_;
            ++resets_;
        } else {
            saved_ = working_;
        }
    } else {
        working_ = saved_;
    }
    resetPending_ = false;
}

std::array<std::uint16_t, 16>* SimRegisterMeter::TextTarget()
{
    if (area_ == 0x01) return &working_.header;
    if (area_ == 0x12) return &working_.list12[entry_].name;
    if (area_ == 0x20) return &working_.slots[slot_].name;
    return nullptr;
}

SimRegisterMemory::Entry* SimRegisterMeter::CurrentEntry()
{
    if (area_ == 0x10) return &working_.list10[entry_];
    if (area_ == 0x11) return &working_.list11[entry_];
    if (area_ == 0x12) return &working_.list12[entry_];
    return nullptr;
}

std::string SimRegisterMeter::Register(const std::string& command, MeterSimulator& meter)
{
    const char reg = command[5];
    const bool isList = area_ == 0x10 || area_ == 0x11 || area_ == 0x12;
    switch (reg) {
    case '1': { // select area
        const int code = Field(command, 3, 2);
        if (code < 0 || command[1] != '0' || command[2] != '0') return Violation(command, "bad area");
        if (code != 0x00 && code != 0x01 && code != 0x10 && code != 0x11 && code != 0x12 && code != 0x20 &&
            code != 0xF3)
            return Violation(command, "unknown area");
        area_ = code;
        textPos_ = 0;
        return Reply('W', static_cast<unsigned>(code), 2);
    }
    case '3': { // select item, entry or profile level
        if (area_ == 0x00) {
            const int code = Field(command, 2, 3);
            bool known = false;
            for (unsigned c : itemCodes_) known = known || static_cast<int>(c) == code;
            if (!known) return Violation(command, "unknown item");
            item_ = static_cast<unsigned>(code);
            return Reply('W', item_, 3);
        }
        if (isList) {
            const int entry = Field(command, 3, 2);
            const int entries = area_ == 0x12 ? 30 : 20;
            if (entry < 0 || entry >= entries) return Violation(command, "entry out of range");
            entry_ = static_cast<unsigned>(entry);
            textPos_ = 0;
            return Reply('W', entry_, 2);
        }
        if (area_ == 0x20) {
            const char level = command[4];
            dataPos_ = 0;
            if (level == '3') {
                const int v = Field(command, 2, 2);
                if (v != 0) return Violation(command, "level 3 must be 0");
                return Reply('W', 0, 2);
            }
            const int v = Field(command, 3, 1);
            if (v < 0 || command[2] != '0') return Violation(command, "bad level value");
            if (level == '0') {
                if (v > 9) return Violation(command, "slot out of range");
                slot_ = static_cast<unsigned>(v);
                textPos_ = 0;
            } else if (level == '1' || level == '2') {
                if (v > 1) return Violation(command, "level out of range");
                (level == '1' ? level1_ : level2_) = static_cast<unsigned>(v);
            } else if (level == '4') {
                if (v != 0) return Violation(command, "level 4 must be 0");
            } else {
                return Violation(command, "unknown level");
            }
            return Reply('W', static_cast<unsigned>(v), 1);
        }
        return Violation(command, "select without area");
    }
    case '4': { // read value
        if (command.compare(1, 4, "0000") != 0) return Violation(command, "malformed read");
        if (area_ == 0x00) return Reply('W', working_.custom[item_], 1);
        if (isList) return Reply('W', CurrentEntry()->value, 1);
        return Violation(command, "value read without item");
    }
    case '5': { // write value
        const int v = Field(command, 4, 1);
        if (v < 0 || command.compare(1, 3, "000") != 0) return Violation(command, "malformed value");
        if (area_ == 0x00) {
            working_.custom[item_] = static_cast<unsigned>(v);
        } else if (isList) {
            CurrentEntry()->value = static_cast<unsigned>(v);
        } else if (area_ == 0x20) {
            working_.slots[slot_].used = static_cast<unsigned>(v);
        } else {
            return Violation(command, "value write without item");
        }
        return Reply('W', static_cast<unsigned>(v), 1);
    }
    case '6': { // read data
        if (command.compare(1, 4, "0000") != 0) return Violation(command, "malformed read");
        if (isList) return Reply('W', CurrentEntry()->fieldA, 4);
        if (area_ == 0x20) {
            if (dataPos_ >= rows_ * 5) return Violation(command, "read past the last row");
            const int group = static_cast<int>(2 * level1_ + level2_);
            const unsigned value = working_.Data(static_cast<int>(slot_), dataPos_ / 5, group, dataPos_ % 5);
            ++dataPos_;
            return Reply('W', value, 2);
        }
        return Violation(command, "data read without area");
    }
    case '7': { // write data
        if (isList) {
            const int v = Field(command, 1, 4);
            if (v < 0) return Violation(command, "malformed word");
            CurrentEntry()->fieldA = static_cast<unsigned>(v);
            return Reply('W', static_cast<unsigned>(v), 4);
        }
        if (area_ == 0x20) {
            const int v = Field(command, 3, 2);
            if (v < 0 || command[1] != '0' || command[2] != '0') return Violation(command, "malformed byte");
            if (dataPos_ >= rows_ * 5) return Violation(command, "write past the last row");
            const int group = static_cast<int>(2 * level1_ + level2_);
            working_.Data(static_cast<int>(slot_), dataPos_ / 5, group, dataPos_ % 5) = static_cast<std::uint8_t>(v);
            ++dataPos_;
            return Reply('W', static_cast<unsigned>(v), 2);
        }
        return Violation(command, "data write without area");
    }
    case '8': { // read field B
        if (command.compare(1, 4, "0000") != 0) return Violation(command, "malformed read");
        if (area_ == 0x10 && t520_) {
            const unsigned b = working_.list10[entry_].fieldB;
            // The meter sends the high nibble as a character counted from '0'.
            std::string r = Reply('W', b & 0xFF, 2);
            r[3] = static_cast<char>('0' + ((b >> 8) & 0xF));
            return r;
        }
        if (area_ == 0x10 || area_ == 0x11) return Reply('W', CurrentEntry()->fieldB, 2);
        return Violation(command, "field B read outside lists 0x10 and 0x11");
    }
    case '9': { // write field B, or set the text position
        if (area_ == 0x10 && t520_) {
            const int high = Hex(command[2]);
            const int low = Field(command, 3, 2);
            if (high < 0 || low < 0 || command[1] != '0') return Violation(command, "malformed field B");
            working_.list10[entry_].fieldB = static_cast<unsigned>(high * 256 + low);
            std::string r = Reply('W', static_cast<unsigned>(low), 2);
            r[3] = command[2];
            return r;
        }
        if (area_ == 0x10 || area_ == 0x11) {
            const int v = Field(command, 3, 2);
            if (v < 0) return Violation(command, "malformed field B");
            CurrentEntry()->fieldB = static_cast<unsigned>(v);
            return Reply('W', static_cast<unsigned>(v), 2);
        }
        if (command != "W00009") return Violation(command, "text position other than 0");
        if (!TextTarget()) return Violation(command, "no text here");
        textPos_ = 0;
        return Reply('W', 0, 1);
    }
    case 'A': { // read text unit
        if (command != "W0000A") return Violation(command, "malformed read");
        auto* text = TextTarget();
        if (!text) return Violation(command, "no text here");
        if (textPos_ >= 16) return Violation(command, "read past the text");
        return Reply('W', (*text)[static_cast<std::size_t>(textPos_++)], 4);
    }
    case 'B': { // write text unit
        const int v = Field(command, 1, 4);
        auto* text = TextTarget();
        if (v < 0) return Violation(command, "malformed unit");
        if (!text) return Violation(command, "no text here");
        if (textPos_ >= 16) return Violation(command, "write past the text");
        (*text)[static_cast<std::size_t>(textPos_++)] = static_cast<std::uint16_t>(v);
        return Reply('W', static_cast<unsigned>(v), 4);
    }
    case 'D': { // entry check
        if (command != "W0000D") return Violation(command, "malformed check");
        const bool refused = refused_.count({static_cast<unsigned>(area_), entry_}) != 0;
        return Reply('W', refused ? 1 : 0, 1);
    }
    case 'E': { // completion status
        if (command != "W0000E") return Violation(command, "malformed poll");
        if (commitPending_) Settle(meter.NextCommitStatus(false));
        return Reply('W', static_cast<unsigned>(lastStatus_), 1);
    }
    case 'F': { // commit the selected area
        if (command != "W0000F") return Violation(command, "malformed commit");
        if (area_ < 0) return Violation(command, "commit without area");
        resetPending_ = area_ == 0xF3;
        commitPending_ = true;
        Settle(meter.NextCommitStatus(true));
        return Reply('W', static_cast<unsigned>(lastStatus_), 1);
    }
    default:
        return Violation(command, "unknown register");
    }
}
