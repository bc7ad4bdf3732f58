// The T-310 family's normal command set for the meter simulator: a memory of 16-bit words behind an
// address register, "L" commands to set the address, read, write, commit and poll, "G" queries for
// model, revision and date, and the one-byte "[" handshake. Writes go to a working copy and reach
// the saved memory only when a commit ends with status 2; an ended link drops them.
#pragma once

#include "tests/support/SimMeterMode.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

class SimT310Mode final : public SimMeterMode {
public:
    static constexpr std::size_t kWords = 0x1000;

    SimT310Mode();

    std::optional<std::string> Answer(const std::string& command, MeterSimulator& meter) override;
    void OnLinkClosed() override;

    // Saved (committed) memory.
    std::uint16_t SavedWord(unsigned address) const;
    void SetSavedWord(unsigned address, std::uint16_t word);
    std::array<std::uint16_t, kWords> SavedMemory() const;
    // Fills the saved memory with a pattern that differs from word to word.
    void FillPattern(std::uint16_t seed);

    void SetModelDigit(char digit);          // '2' T-310D/DR, '3' T-310CINE
    void SetRevision(const std::string& two);  // two characters
    void SetDate(const std::string& yyyymmdd); // eight characters
    int Commits() const;

private:
    void ApplyStatus(int status);

    mutable std::mutex mutex_;
    std::array<std::uint16_t, kWords> saved_{};
    std::array<std::uint16_t, kWords> working_{};
    unsigned address_ = 0;
    bool committing_ = false;
    int commits_ = 0;
    char modelDigit_ = '2';
    std::string revision_ = "15";
    std::string date_ = "20240315";
};
