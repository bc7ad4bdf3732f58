#include "tests/support/SimHidTransport.h"

#include "platform/HidApiTransport.h"

#include <cerrno>
#include <cstring>

SimHidTransport::SimHidTransport(std::shared_ptr<MeterSimulator> meter, Clock& clock, std::uint32_t roundTripMs,
                                 std::shared_ptr<std::vector<std::uint8_t>> reportIds)
    : meter_(std::move(meter)), clock_(clock), roundTripMs_(roundTripMs), reportIds_(std::move(reportIds))
{
}

int SimHidTransport::Write(const void* buffer, std::size_t length, std::size_t* actual)
{
    if (actual) *actual = 0;
    if (closed_) return EBADF;
    if (meter_->IsUnplugged()) return ENODEV;
    if (length < 1) return EINVAL;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    if (reportIds_) reportIds_->push_back(bytes[0]);
    const std::string command(reinterpret_cast<const char*>(bytes + 1), length - 1);
    const SimReply reply = meter_->Exchange(command);
    if (reply.kind == SimReply::Kind::Unplugged) return ENODEV;
    if (reply.kind == SimReply::Kind::Failed) return EIO;
    if (actual) *actual = length;
    if (reply.kind == SimReply::Kind::Answer) {
        std::string report(1, static_cast<char>(bytes[0]));
        report += reply.bytes;
        pending_.push_back(Pending{report, clock_.NowMs() + roundTripMs_ + reply.delayMs});
    }
    return 0;
}

int SimHidTransport::Read(void* buffer, std::size_t length, std::size_t* actual)
{
    if (actual) *actual = 0;
    if (closed_) return EBADF;
    if (meter_->IsUnplugged()) return ENODEV;
    const std::uint64_t now = clock_.NowMs();
    const std::uint64_t deadline = now + static_cast<std::uint64_t>(HidApiTransport::ReadBoundMs(timeouts_, length));
    if (pending_.empty() || pending_.front().readyAt > deadline) {
        clock_.SleepMs(static_cast<std::uint32_t>(deadline - now));
        return 0; // timed out
    }
    const Pending next = pending_.front();
    pending_.pop_front();
    if (next.readyAt > now) clock_.SleepMs(static_cast<std::uint32_t>(next.readyAt - now));
    const std::size_t n = next.report.size() < length ? next.report.size() : length;
    std::memcpy(buffer, next.report.data(), n);
    if (actual) *actual = n;
    return 0;
}

int SimHidTransport::SetTimeouts(const COMMTIMEOUTS& timeouts)
{
    timeouts_ = timeouts;
    return 0;
}

int SimHidTransport::GetTimeouts(COMMTIMEOUTS* timeouts)
{
    if (!timeouts) return EINVAL;
    *timeouts = timeouts_;
    return 0;
}

int SimHidTransport::Purge()
{
    pending_.clear();
    return 0;
}

void SimHidTransport::Sleep(std::uint32_t ms)
{
    clock_.SleepMs(ms);
}

int SimHidTransport::Close()
{
    if (closed_) return 0;
    closed_ = true;
    pending_.clear();
    meter_->LinkClosed();
    return 0;
}
