// The test switch of Zarnflash, read from the same variables as Zarndesk's: with
// ZARN_SIMULATED_METER naming a HID meter family (T-140 or T-520D), or "none" for no meter at all,
// the program finds one simulated meter of that family in firmware-update form instead of the real
// devices, on a test clock. Built only into test builds; the normal start-up never reaches it.
//
// With ZARN_SIMULATED_START=1 as well it plays one stand-alone run as a user would: once the dialog
// is up it presses Start, waits for the run to end, waits for the meter to be read again, and
// presses Exit; it writes what the window and the meter show to the error stream and, with
// ZARN_SCREENSHOT_DIR, keeps each step's window as a PNG. When the ready window offers no Start
// (a chosen image does not fit the meter), it writes that window and presses Exit at once.
#pragma once

#include <memory>

class CZarnflashDlg;

class SimulatedFlashSwitch {
public:
    static constexpr const char* kVariable = "ZARN_SIMULATED_METER";
    static constexpr const char* kStartVariable = "ZARN_SIMULATED_START";

    // The switch when the variable names a family or "none"; null when it is unset. An unknown
    // name is reported on the error stream and gives null.
    static std::unique_ptr<SimulatedFlashSwitch> FromEnvironment();

    virtual ~SimulatedFlashSwitch() = default;
    // Gives the dialog the simulated meter and clock (before its start-up) and arms the run.
    virtual void Prepare(CZarnflashDlg& dialog) = 0;
};
