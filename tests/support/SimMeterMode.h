// What a simulated meter does with one command in its current mode: the normal command set of a
// family, or (later) the firmware update mode. Called by MeterSimulator under its lock.
#pragma once

#include <optional>
#include <string>

class MeterSimulator;

class SimMeterMode {
public:
    virtual ~SimMeterMode() = default;
    // The reply characters (six for the command sets; one for a one-byte handshake), or nothing when
    // the meter does not answer this command at all.
    virtual std::optional<std::string> Answer(const std::string& command, MeterSimulator& meter) = 0;
    // The host closed the link: changes not yet committed are lost.
    virtual void OnLinkClosed() {}
};
