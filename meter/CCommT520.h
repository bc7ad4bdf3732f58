// Command set of the T-520D over its HID link: identity and state queries, the radio-module status
// and variant (kept process-wide for the pages that show them), and the transfers of the
// T520TransferBlock's parts.
#pragma once

#include "meter/CCommHidMeter.h"
#include "meter/T520TransferBlock.h"

#include <atomic>
#include <string>

// Last result of CCommT520::GetStatus (0, 1, 998 or 999) and of CCommT520::GetVariant (0 to 5).
// Written by the meter worker, read by the window thread.
extern std::atomic<int> g_T520ModuleStatus;
extern std::atomic<int> g_T520ModuleVariant;

class CCommT520 : public CCommHidMeter {
public:
    static constexpr std::uint16_t kProductId = 0x7004;

    explicit CCommT520(HidDeviceSystem& system);
    // On the real HID devices.
    CCommT520();

    BOOL FindT520HidDevice(std::string* path, BOOL* moreThanOne) { return FindHidDevice(path, moreThanOne); }

    // "G00000": 8 for the T-520D, 998 while busy, 999 otherwise.
    int GetModelCode(int* err = nullptr) override;
    // "G00007": 0, 1, 998 (busy) or 999; a valid reply also asks the variant and is kept in
    // g_T520ModuleStatus.
    int GetStatus(int* err = nullptr) override;
    // "G0000B": 1 to 5, or 0; a valid reply is kept in g_T520ModuleVariant.
    int GetVariant(int* err = nullptr);
    BOOL GetInfo11String(std::string* text, int* err = nullptr);
    // Waits 500 ms, then polls the status while busy (200 ms steps, 5000 ms at most); TRUE when the
    // meter reports status 1. The revision is not used by this family.
    BOOL WaitUntilReady(const std::string& revisionText, int* err = nullptr);

    BOOL ReadCustomSettings(T520TransferBlock* block, int* err = nullptr);
    BOOL WriteCustomSettings(const T520TransferBlock* block, int* err = nullptr);
    BOOL ReadSettingTables(T520TransferBlock* block, int* err = nullptr);
    BOOL WriteSettingTables(const T520TransferBlock* block, int* err = nullptr);
    BOOL ReadProfileNames(T520TransferBlock* block, int* err = nullptr);
    BOOL ReadAllProfiles(T520TransferBlock* block, int* err = nullptr);
    // Bit s writes slot s (0x001 to 0x200), bit 0x400 the header text; mask 0 fails.
    BOOL WriteProfiles(const T520TransferBlock* block, unsigned mask, int* err = nullptr);

protected:
    std::string ModelNameOf(int code) const override;

private:
    // The custom items for the meter's revision (two more from revision "16" on).
    std::size_t CustomItemCount(int* err);
};
