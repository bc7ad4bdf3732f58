// The test switch of Zarndesk: with ZARN_SIMULATED_METER naming a meter family (T-310, T-140 or
// T-520D) the program starts with one simulated meter of that family attached instead of the real
// devices: the T-310 behind a pseudo-terminal and a fake sysfs tree (so the real termios and port
// discovery run), the HID families in process. Built only into test builds; the normal start-up
// never reaches it.
//
// With ZARN_SIMULATED_SEND naming a PC profile as well, the switch plays a short session once the
// meter's slots are listed: it writes the PC list and the meter list to the error stream, assigns
// the profile to slot 1, sends it (the send question needs ZARN_PROMPT_ECHO to be answered) and
// writes the meter list again. With ZARN_SIMULATED_WIZARD naming a folder of chart photographs it
// plays a profile-making session (SimulatedWizardSession). With ZARN_SIMULATED_CLOSE_ON_INPUT set,
// a line on the standard input closes the program (SimulatedCloseOnInput).
#pragma once

#include <memory>
#include <string>

class SimulatedMeterSwitch {
public:
    static constexpr const char* kVariable = "ZARN_SIMULATED_METER";
    static constexpr const char* kSendVariable = "ZARN_SIMULATED_SEND";

    // The switch when the variable names a family; null when it is unset. An unknown family name is
    // reported on the error stream and gives null.
    static std::unique_ptr<SimulatedMeterSwitch> FromEnvironment();

    virtual ~SimulatedMeterSwitch() = default;
    // Creates the meter facade on the simulated meter (before the main window starts it).
    virtual bool Install() = 0;
    // Starts the scripted session, if one was asked for; call once the Qt application exists.
    virtual void StartSession() = 0;
};
