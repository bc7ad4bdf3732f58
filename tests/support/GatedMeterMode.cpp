#include "tests/support/GatedMeterMode.h"

#include <chrono>

GatedMeterMode::GatedMeterMode(std::unique_ptr<SimMeterMode> inner) : inner_(std::move(inner)) {}

std::optional<std::string> GatedMeterMode::Answer(const std::string& command, MeterSimulator& meter)
{
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (closed_) {
            if (pass_ > 0) {
                --pass_;
            } else {
                held_ = true;
                cv_.notify_all();
                cv_.wait(lock, [this] { return !closed_; });
                held_ = false;
            }
        }
    }
    return inner_->Answer(command, meter);
}

void GatedMeterMode::OnLinkClosed()
{
    inner_->OnLinkClosed();
}

void GatedMeterMode::Close(int after)
{
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    pass_ = after;
}

void GatedMeterMode::Open()
{
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = false;
    cv_.notify_all();
}

bool GatedMeterMode::WaitUntilHeld(std::uint32_t limitMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(limitMs), [this] { return held_; });
}
