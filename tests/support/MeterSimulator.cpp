#include "tests/support/MeterSimulator.h"

#include <algorithm>

MeterSimulator::MeterSimulator(std::unique_ptr<SimMeterMode> mode) : mode_(std::move(mode)) {}

SimReply MeterSimulator::Exchange(const std::string& command)
{
    std::lock_guard lock(mutex_);
    const std::uint64_t index = exchanges_++;
    MeterFault fault;
    for (const MeterFault& f : faults_) {
        if (f.exchangeIndex == index) {
            fault = f;
            break;
        }
    }
    SimReply result;
    if (unplugged_ || fault.kind == MeterFaultKind::Unplug) {
        unplugged_ = true;
        result.kind = SimReply::Kind::Unplugged;
        return result;
    }
    log_.push_back(command);
    if (std::find(failing_.begin(), failing_.end(), command) != failing_.end()) {
        result.kind = SimReply::Kind::Failed;
        return result;
    }
    std::optional<std::string> answer = mode_->Answer(command, *this);
    if (!answer || fault.kind == MeterFaultKind::NoReply) return result; // Silent
    std::string reply = *answer;
    switch (fault.kind) {
    case MeterFaultKind::WrongLetter:
        if (reply.empty()) reply = "Z";
        reply[0] = 'Z';
        break;
    case MeterFaultKind::WrongEcho:
        if (!reply.empty()) reply.back() = reply.back() == '0' ? '1' : '0';
        break;
    case MeterFaultKind::LowerCase:
        std::transform(reply.begin(), reply.end(), reply.begin(),
                       [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
        break;
    case MeterFaultKind::ShortReply:
        reply.resize(reply.size() > 1 ? reply.size() - 1 : 0);
        break;
    case MeterFaultKind::Delay:
        result.delayMs = fault.delayMs;
        break;
    default:
        break;
    }
    result.kind = SimReply::Kind::Answer;
    result.bytes = reply;
    return result;
}

void MeterSimulator::LinkClosed()
{
    std::lock_guard lock(mutex_);
    mode_->OnLinkClosed();
}

void MeterSimulator::InjectFault(const MeterFault& fault)
{
    std::lock_guard lock(mutex_);
    faults_.push_back(fault);
}

void MeterSimulator::ClearFaults()
{
    std::lock_guard lock(mutex_);
    faults_.clear();
}

void MeterSimulator::ResetExchangeCount()
{
    std::lock_guard lock(mutex_);
    exchanges_ = 0;
}

std::uint64_t MeterSimulator::ExchangeCount() const
{
    std::lock_guard lock(mutex_);
    return exchanges_;
}

std::vector<std::string> MeterSimulator::Log() const
{
    std::lock_guard lock(mutex_);
    return log_;
}

void MeterSimulator::ClearLog()
{
    std::lock_guard lock(mutex_);
    log_.clear();
}

void MeterSimulator::Unplug()
{
    std::lock_guard lock(mutex_);
    unplugged_ = true;
}

void MeterSimulator::Replug()
{
    std::lock_guard lock(mutex_);
    unplugged_ = false;
}

bool MeterSimulator::IsUnplugged() const
{
    std::lock_guard lock(mutex_);
    return unplugged_;
}

void MeterSimulator::SetCommitStatuses(std::vector<int> statuses)
{
    std::lock_guard lock(mutex_);
    commitStatuses_ = statuses.empty() ? std::vector<int>{2} : std::move(statuses);
    commitPosition_ = 0;
}

int MeterSimulator::NextCommitStatus(bool atCommit)
{
    std::lock_guard lock(mutex_);
    if (atCommit) {
        commitPosition_ = 0;
    } else if (commitPosition_ + 1 < commitStatuses_.size()) {
        ++commitPosition_;
    }
    return commitStatuses_[commitPosition_];
}

void MeterSimulator::FailCommand(const std::string& command)
{
    std::lock_guard lock(mutex_);
    failing_.push_back(command);
}

void MeterSimulator::SetBusyAnswers(const std::string& query, int count)
{
    std::lock_guard lock(mutex_);
    busy_[query] = count;
}

bool MeterSimulator::TakeBusy(const std::string& query)
{
    std::lock_guard lock(mutex_);
    auto it = busy_.find(query);
    if (it == busy_.end() || it->second <= 0) return false;
    --it->second;
    return true;
}

void MeterSimulator::SetMode(std::unique_ptr<SimMeterMode> mode)
{
    std::lock_guard lock(mutex_);
    mode_ = std::move(mode);
}

SimMeterMode& MeterSimulator::Mode()
{
    std::lock_guard lock(mutex_);
    return *mode_;
}
