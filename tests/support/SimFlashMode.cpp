#include "tests/support/SimFlashMode.h"

SimFlashMode::SimFlashMode(std::unique_ptr<SimMeterMode> normal) : normal_(std::move(normal)) {}

void SimFlashMode::SetEraseBusyPolls(int polls)
{
    std::lock_guard lock(mutex_);
    eraseBusy_ = polls;
}

void SimFlashMode::SetFinalBusyPolls(int polls)
{
    std::lock_guard lock(mutex_);
    finalBusy_ = polls;
}

void SimFlashMode::SetOnCommit(CommitHandler handler)
{
    std::lock_guard lock(mutex_);
    onCommit_ = std::move(handler);
}

void SimFlashMode::SetMemory(const std::string& target, std::vector<std::string> image)
{
    std::lock_guard lock(mutex_);
    memory_[target] = std::move(image);
}

bool SimFlashMode::InUpdateMode() const
{
    std::lock_guard lock(mutex_);
    return updating_;
}

int SimFlashMode::RecordsTaken() const
{
    std::lock_guard lock(mutex_);
    return recordsTaken_;
}

int SimFlashMode::Commits() const
{
    std::lock_guard lock(mutex_);
    return commits_;
}

std::vector<std::string> SimFlashMode::Memory(const std::string& target) const
{
    std::lock_guard lock(mutex_);
    const auto it = memory_.find(target);
    return it == memory_.end() ? std::vector<std::string>() : it->second;
}

std::string SimFlashMode::Poll()
{
    if (busyLeft_ > 0) {
        --busyLeft_;
        return "Q00001";
    }
    if (phase_ == Phase::Erasing) {
        phase_ = Phase::Idle;
        erased_ = true;
        return "Q00000";
    }
    if (phase_ == Phase::Checking) {
        phase_ = Phase::Idle;
        // Only an erased slot takes an image.
        if (!erased_) return "Q00003";
        memory_[target_] = pending_;
        ++commits_;
        if (onCommit_) onCommit_(target_, pending_);
        pending_.clear();
        erased_ = false;
        return "Q00002";
    }
    return "Q00000";
}

std::optional<std::string> SimFlashMode::Answer(const std::string& command, MeterSimulator& meter)
{
    std::lock_guard lock(mutex_);
    const bool entry = command == "P0000F" || command == "P0001F" || command == "P0003F";
    if (!updating_) {
        if (!entry) return normal_->Answer(command, meter);
        updating_ = true;
    }
    if (entry) {
        target_ = command;
        phase_ = Phase::Idle;
        erased_ = false;
        pending_.clear();
        return std::string("P00000");
    }
    if (command == "H00000") {
        updating_ = false;
        phase_ = Phase::Idle;
        pending_.clear();
        return std::string("H00000");
    }
    if (command == "Q00001" || command == "Q00011") {
        phase_ = Phase::Erasing;
        busyLeft_ = eraseBusy_;
        pending_.clear();
        return Poll();
    }
    if (command == "Q000F1") {
        phase_ = Phase::Checking;
        busyLeft_ = finalBusy_;
        return Poll();
    }
    if (command == "Q00000") return Poll();
    if (!command.empty() && command[0] == 'Q' && command.size() == 6) return "Q0" + command.substr(1, 4);
    if (!command.empty() && command[0] == 'R') {
        if (command.size() != 35 || !erased_) return std::string("R00001");
        pending_.push_back(command);
        ++recordsTaken_;
        return std::string("R00000");
    }
    return std::string("E00000");
}

void SimFlashMode::OnLinkClosed()
{
    std::lock_guard lock(mutex_);
    normal_->OnLinkClosed();
}
