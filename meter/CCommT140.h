// Command set of the T-140 family (T-140D, T-140DR, T-140DR-EL, T-140DR-PX) over its HID link: the
// T-520D's design with fewer custom items, 52 profile rows, a byte-wide field B in list 0x10 and a
// revision-dependent readiness wait.
#pragma once

#include "meter/CCommHidMeter.h"
#include "meter/T140TransferBlock.h"

#include <string>

class CCommT140 : public CCommHidMeter {
public:
    static constexpr std::uint16_t kProductId = 0x7002;

    explicit CCommT140(HidDeviceSystem& system);
    // On the real HID devices.
    CCommT140();

    BOOL FindT140HidDevice(std::string* path, BOOL* moreThanOne) { return FindHidDevice(path, moreThanOne); }

    // "G00000": 4 to 7 for the four models, 998 while busy, 999 otherwise.
    int GetModelCode(int* err = nullptr) override;
    // "G00007": 0, 1, 998 (busy) or 999; nothing is kept.
    int GetStatus(int* err = nullptr) override;
    // Waits 500 ms, then polls the status: while busy for up to 5000 ms; meters of revision "17" or
    // later keep being polled for 3000 ms. TRUE when the last status taken is 1.
    BOOL WaitUntilReady(const std::string& revisionText, int* err = nullptr);

    BOOL ReadCustomSettings(T140TransferBlock* block, int* err = nullptr);
    BOOL WriteCustomSettings(const T140TransferBlock* block, int* err = nullptr);
    BOOL ReadSettingTables(T140TransferBlock* block, int* err = nullptr);
    BOOL WriteSettingTables(const T140TransferBlock* block, int* err = nullptr);
    BOOL ReadProfileNames(T140TransferBlock* block, int* err = nullptr);
    BOOL ReadAllProfiles(T140TransferBlock* block, int* err = nullptr);
    BOOL WriteProfiles(const T140TransferBlock* block, unsigned mask, int* err = nullptr);

protected:
    std::string ModelNameOf(int code) const override;
};
