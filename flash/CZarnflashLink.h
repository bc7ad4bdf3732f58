// One meter link as the firmware players and the leave-update-mode job use it: open (on the device
// path or port chosen when the meter was read, or found now), set up, exchange one command or
// record line for its six-character reply, close. The HID and serial forms wrap the meter links
// of meter/ with the downloader's transfer rules.
#pragma once

#include "platform/WinTypes.h"

#include <cstdint>
#include <string>

class CZarnflashLink {
public:
    // Error value of an open refused because more than one meter of the family is attached.
    static constexpr int kSeveralDevices = 1000;
    // Error value of a meter that is gone.
    static constexpr int kNoDevice = 20;

    virtual ~CZarnflashLink() = default;
    // where: HID device path or serial port name; empty lets the link find the meter.
    virtual BOOL Open(const std::string& where, int* err) = 0;
    virtual BOOL Prepare(int* err) = 0;
    // Sends a command (six characters) or a record line and takes the six-character reply. FALSE
    // when the exchange failed; reply then holds what arrived, or "T.O." when nothing did.
    virtual BOOL Transact(const std::string& command, std::string* reply) = 0;
    // TRUE when it closed an open link.
    virtual BOOL Close() = 0;
    // The pauses the players ask for through the link do not take place.
    void Wait(std::uint32_t /*milliseconds*/) {}
    // TRUE when the last Transact could not send its command at all.
    bool LastWriteFailed() const { return writeFailed_; }

protected:
    bool writeFailed_ = false;
};
