// Feeds arbitrary replies to every query and command of the T-310 link over an in-memory serial
// line. A simulated meter computes the proper answer to each command; one control byte per
// exchange decides whether that answer goes back or a reply made of the following input bytes
// (any length, any characters) does. Running out of input leaves the meter silent.
#include "meter/CCommT310.h"
#include "tests/support/ManualClock.h"
#include "tests/support/MeterSimulator.h"
#include "tests/support/SimT310Mode.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return pos_ >= size_; }
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

class FuzzLine final : public MeterTransport {
public:
    FuzzLine(FuzzInput& input, MeterSimulator& meter, ManualClock& clock) : input_(input), meter_(meter), clock_(clock) {}

    int Read(void* buffer, std::size_t length, std::size_t* actual) override
    {
        const std::size_t n = std::min(length, pending_.size());
        std::copy(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n), static_cast<char*>(buffer));
        pending_.erase(0, n);
        *actual = n;
        return 0;
    }
    int Write(const void* buffer, std::size_t length, std::size_t* actual) override
    {
        const char* bytes = static_cast<const char*>(buffer);
        for (std::size_t i = 0; i < length; ++i) {
            if (frame_.empty() && bytes[i] == '[') {
                Answer("[");
            } else if ((frame_ += bytes[i]).size() == 6) {
                Answer(frame_);
                frame_.clear();
            }
        }
        *actual = length;
        return 0;
    }
    int SetTimeouts(const COMMTIMEOUTS& t) override
    {
        timeouts_ = t;
        return 0;
    }
    int GetTimeouts(COMMTIMEOUTS* t) override
    {
        *t = timeouts_;
        return 0;
    }
    int Purge() override
    {
        pending_.clear();
        return 0;
    }
    void Sleep(std::uint32_t ms) override { clock_.SleepMs(ms); }
    int Close() override { return 0; }
    int GetLineSettings(DCB* dcb) override
    {
        *dcb = dcb_;
        return 0;
    }
    int SetLineSettings(const DCB& dcb) override
    {
        dcb_ = dcb;
        return 0;
    }

private:
    void Answer(const std::string& command)
    {
        const SimReply proper = meter_.Exchange(command);
        if (input_.Empty()) {
            return; // silent: the read runs into its time-out
        }
        const std::uint8_t control = input_.Byte();
        if ((control & 1) == 0) {
            if (proper.kind == SimReply::Kind::Answer) pending_ += proper.bytes;
            return;
        }
        const std::size_t length = (control >> 1) % 9;
        for (std::size_t i = 0; i < length && !input_.Empty(); ++i) {
            pending_ += static_cast<char>(input_.Byte());
        }
    }

    FuzzInput& input_;
    MeterSimulator& meter_;
    ManualClock& clock_;
    std::string frame_;
    std::string pending_;
    COMMTIMEOUTS timeouts_{};
    DCB dcb_{};
};

class FuzzSystem final : public SerialDeviceSystem {
public:
    FuzzSystem(FuzzInput& input, MeterSimulator& meter) : input_(input), meter_(meter) {}
    std::unique_ptr<MeterTransport> Open(const std::string&, int* err) override
    {
        if (err) *err = 0;
        return std::make_unique<FuzzLine>(input_, meter_, clock_);
    }
    Clock& GetClock() override { return clock_; }

private:
    FuzzInput& input_;
    MeterSimulator& meter_;
    ManualClock clock_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const int mask = input.Byte() & 0xF;
    // A meter that keeps saving now and then, so the completion poll is fuzzed as well.
    MeterSimulator meter(std::make_unique<SimT310Mode>());
    meter.SetCommitStatuses({3, 3, 2});
    FuzzSystem system(input, meter);
    CCommT310 link(system);
    if (!link.Open("fuzz")) return 0;
    link.PrepareDevice();
    std::string text;
    link.GetModelCode();
    link.GetModelName(&text);
    link.GetRevision(&text);
    link.GetDateString(&text);
    T310TransferBlock block;
    link.ReadCustomSettings(&block);
    link.WriteCustomSettings(&block);
    link.ReadProfileNames(&block);
    link.WriteProfiles(&block, mask);
    link.ReadAllProfiles(&block);
    link.Close();
    return 0;
}
