// Normal mode of a simulated HID meter (T-520D or T-140 family): answers the "G" identity queries
// and the "W" register commands with a meter's own selection state (area, item, entry, slot and
// levels, data and text positions that move forward by themselves). Writes change a working copy;
// a commit that ends in status 2 makes them the saved memory, status 1 or 15 or a closed link drops
// them. Commands the meter would not understand are recorded as violations.
#pragma once

#include "tests/support/SimMeterMode.h"
#include "tests/support/SimRegisterMemory.h"

#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class SimRegisterMeter final : public SimMeterMode {
public:
    struct Identity {
        unsigned modelCode = 0x20;  // "G00000" field
        std::string revision = "16";
        std::string year = "2024";
        std::string monthDay = "0315";
        unsigned state = 1;         // "G00006"
        unsigned status = 1;        // "G00007"
        unsigned variant = 0;       // "G0000B"
        std::string info11 = "A1";
        std::string versionALead = "3135"; // characters 2 to 5 of "G0001A": "15"
        unsigned versionAMajor = 1, versionAMinor = 5;
        std::string versionBLead = "3230"; // "20"
        unsigned versionBMajor = 2, versionBMinor = 18;
    };

    // rows: 67 for the T-520D, 52 for the T-140 family.
    SimRegisterMeter(bool t520, const Identity& identity);
    static std::unique_ptr<SimRegisterMeter> T520();
    static std::unique_ptr<SimRegisterMeter> T140(unsigned modelCode = 0x11);

    std::optional<std::string> Answer(const std::string& command, MeterSimulator& meter) override;
    void OnLinkClosed() override;

    // The saved memory, and what a reset gives.
    const SimRegisterMemory& Saved() const { return saved_; }
    void SetSaved(const SimRegisterMemory& memory);
    SimRegisterMemory Factory() const;
    Identity& GetIdentity() { return identity_; }
    int Rows() const { return rows_; }
    // Item codes this model knows.
    const std::vector<unsigned>& ItemCodes() const { return itemCodes_; }
    // "W0000D" answers 1 after this entry of this list area (0x10 or 0x11).
    void RefuseEntry(unsigned area, unsigned entry) { refused_.insert({area, entry}); }
    const std::vector<std::string>& Violations() const { return violations_; }
    int ResetCount() const { return resets_; }

private:
    std::string Query(const std::string& command, MeterSimulator& meter);
    std::string Register(const std::string& command, MeterSimulator& meter);
    std::string Violation(const std::string& command, const char* why);
    void Settle(int status);
    std::array<std::uint16_t, 16>* TextTarget();
    SimRegisterMemory::Entry* CurrentEntry();

    bool t520_;
    int rows_;
    Identity identity_;
    std::vector<unsigned> itemCodes_;
    SimRegisterMemory saved_;
    SimRegisterMemory working_;
    std::set<std::pair<unsigned, unsigned>> refused_;
    std::vector<std::string> violations_;

    int area_ = -1;
    unsigned item_ = 0;
    unsigned entry_ = 0;
    unsigned slot_ = 0;
    unsigned level1_ = 0;
    unsigned level2_ = 0;
    int dataPos_ = 0; // byte index inside the selected group's rows
    int textPos_ = 0;
    bool commitPending_ = false;
    bool resetPending_ = false;
    int lastStatus_ = 2;
    int resets_ = 0;
};
