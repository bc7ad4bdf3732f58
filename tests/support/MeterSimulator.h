// The transport-independent core of a simulated meter: counts and logs every command it receives,
// lets its mode answer, and injects the scripted faults, busy answers and commit statuses. The HID
// side (SimHidDeviceSystem) and the serial side put it behind a link. Thread-safe: a link may answer
// from its own thread while a test inspects the log.
#pragma once

#include "tests/support/MeterFault.h"
#include "tests/support/SimMeterMode.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct SimReply {
    enum class Kind { Answer, Silent, Unplugged, Failed };
    Kind kind = Kind::Silent;
    std::string bytes;         // the characters sent back (fewer than asked for on a short reply)
    std::uint32_t delayMs = 0; // how long after the command they arrive
};

class MeterSimulator {
public:
    explicit MeterSimulator(std::unique_ptr<SimMeterMode> mode);

    // Delivers one command and returns what the meter sends back.
    SimReply Exchange(const std::string& command);
    // The host closed its link: the mode drops uncommitted changes.
    void LinkClosed();

    // Faults, each at one exchange index; several may be armed at once.
    void InjectFault(const MeterFault& fault);
    void ClearFaults();
    void ResetExchangeCount();
    std::uint64_t ExchangeCount() const;

    // Every command received, in order (commands that reached an unplugged meter are not in it).
    std::vector<std::string> Log() const;
    void ClearLog();

    void Unplug();
    void Replug();
    bool IsUnplugged() const;

    // Commit statuses: the commit answers the first, each completion poll the next; the last one
    // repeats for as long as it is polled. Default {2}.
    void SetCommitStatuses(std::vector<int> statuses);
    // For modes: restart (at a commit) or advance (at a poll) the script and return its status.
    int NextCommitStatus(bool atCommit);

    // Every exchange of `command` fails at the link with a system error while the meter stays attached.
    void FailCommand(const std::string& command);

    // Busy answers: the next `count` times `query` is asked, the mode answers busy.
    void SetBusyAnswers(const std::string& query, int count);
    // For modes: TRUE (and one busy answer used up) when this query should answer busy now.
    bool TakeBusy(const std::string& query);

    // Switches mode (for example into firmware update mode and back).
    void SetMode(std::unique_ptr<SimMeterMode> mode);
    SimMeterMode& Mode();

private:
    mutable std::recursive_mutex mutex_;
    std::unique_ptr<SimMeterMode> mode_;
    std::vector<MeterFault> faults_;
    std::vector<std::string> log_;
    std::uint64_t exchanges_ = 0;
    bool unplugged_ = false;
    std::vector<int> commitStatuses_{2};
    std::size_t commitPosition_ = 0;
    std::map<std::string, int> busy_;
    std::vector<std::string> failing_;
};
