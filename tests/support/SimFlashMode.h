// The firmware update mode of a simulated meter (any family): an entry command ("P0000F" main
// firmware, "P0001F" radio application or loader updater, "P0003F" radio loader) switches the meter
// into update mode for that target; erase commands and the final check answer busy for as many polls
// as set, then done; control commands echo their four characters; 35-character data records are
// taken into a pending image; the final check commits the pending image as the target's memory;
// "H00000" leaves update mode and drops what was not committed. Outside update mode every command
// goes to the meter's normal mode. A test reads the memory and counters while the meter answers on a
// thread of its own (the T-310 behind its pseudo-terminal): every member is read and written under
// the mode's own lock.
#pragma once

#include "tests/support/SimMeterMode.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class SimFlashMode final : public SimMeterMode {
public:
    using CommitHandler = std::function<void(const std::string& target, const std::vector<std::string>& image)>;

    explicit SimFlashMode(std::unique_ptr<SimMeterMode> normal);

    std::optional<std::string> Answer(const std::string& command, MeterSimulator& meter) override;
    void OnLinkClosed() override;

    void SetEraseBusyPolls(int polls);
    void SetFinalBusyPolls(int polls);
    // The handler runs on the meter's thread, under the mode's lock.
    void SetOnCommit(CommitHandler handler);

    // The committed image of a target (its entry command), empty when none was written.
    std::vector<std::string> Memory(const std::string& target) const;
    void SetMemory(const std::string& target, std::vector<std::string> image);
    bool InUpdateMode() const;
    // Data records taken by the meter over its whole life.
    int RecordsTaken() const;
    int Commits() const;
    SimMeterMode& Normal() { return *normal_; }

private:
    enum class Phase { Idle, Erasing, Checking };
    std::string Poll();

    // Recursive: a commit handler may look at the memory it was just given.
    mutable std::recursive_mutex mutex_;
    std::unique_ptr<SimMeterMode> normal_;
    bool updating_ = false;
    std::string target_;
    Phase phase_ = Phase::Idle;
    int busyLeft_ = 0;
    int eraseBusy_ = 3;
    int finalBusy_ = 2;
    bool erased_ = false;
    std::vector<std::string> pending_;
    std::map<std::string, std::vector<std::string>> memory_;
    CommitHandler onCommit_;
    int recordsTaken_ = 0;
    int commits_ = 0;
};
