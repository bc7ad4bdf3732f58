// Puts a simulated T-310 behind a pseudo-terminal, so that the real termios port and the real sysfs
// discovery run against it: the pty's slave is reached as <deviceDir>/<portName> (a link to
// /dev/pts/N) and the port is listed in a fake sysfs tree under the meter's USB identity. A thread
// reads the host's bytes, cuts them into commands ("[" alone, otherwise six characters), lets the
// simulator answer and writes the answer back. Silences and delays are told to the line waiter,
// so time-outs run on the test clock. When the host closes the port the simulator hears of it, as a
// meter hears its link end.
#pragma once

#include "tests/support/FakeUsbSysfs.h"
#include "tests/support/MeterSimulator.h"
#include "tests/support/SimulatedLineWaiter.h"

#include <atomic>
#include <string>
#include <thread>

class SimT310SerialLink {
public:
    SimT310SerialLink(MeterSimulator& meter, SimulatedLineWaiter& waiter, FakeUsbSysfs& sysfs, std::string deviceDir,
                      std::string portName = "ttyUSB0", std::uint16_t productId = 0x7001);
    ~SimT310SerialLink();
    SimT310SerialLink(const SimT310SerialLink&) = delete;
    SimT310SerialLink& operator=(const SimT310SerialLink&) = delete;

    // FALSE when the pseudo-terminal could not be set up.
    bool IsReady() const { return master_ >= 0; }
    const std::string& PortName() const { return portName_; }
    std::string DevicePath() const { return deviceDir_ + "/" + portName_; }
    // The meter disappears: the line hangs up and the port leaves sysfs and the device folder.
    void Unplug();
    bool IsUnplugged() const { return unplugged_.load(); }
    // Simulated time every answer takes to arrive (the line and the meter's own work); 0 by
    // default. It must stay below the read time-outs.
    void SetReplyLatencyMs(std::uint32_t ms) { latencyMs_.store(ms); }
    // Length of a command that begins with "R": 6 in normal mode; a firmware record line is longer.
    void SetRecordLength(std::size_t length) { recordLength_.store(length); }

private:
    void Run();
    void HandleCommand(const std::string& command);
    void WriteAll(const std::string& bytes);
    void Hangup();

    MeterSimulator& meter_;
    SimulatedLineWaiter& waiter_;
    FakeUsbSysfs& sysfs_;
    std::string deviceDir_;
    std::string portName_;
    int master_ = -1;
    int slave_ = -1; // held open so the line keeps its settings between the host's opens
    int stopFd_ = -1;
    int closeWatch_ = -1; // inotify: the host closed the port, uncommitted writes are lost
    std::atomic<bool> unplugged_{false};
    std::atomic<std::uint32_t> latencyMs_{0};
    std::atomic<std::size_t> recordLength_{6};
    std::thread thread_;
};
