// Seeds for fuzz_meter_hid: the replies a well-behaved simulated meter gives during each operation.
#include "tests/support/HidOperationTable.h"
#include "tests/support/MeterSimulator.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimRegisterMeter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Forwards to a simulated meter and writes each reply in the fuzzer's script form.
class RecordingMode final : public SimMeterMode {
public:
    RecordingMode(std::unique_ptr<SimMeterMode> inner, std::string* script) : inner_(std::move(inner)), script_(script) {}
    std::optional<std::string> Answer(const std::string& command, MeterSimulator& meter) override
    {
        std::optional<std::string> reply = inner_->Answer(command, meter);
        if (reply) {
            script_->push_back(static_cast<char>(reply->size() & 7));
            script_->append(reply->substr(0, 7));
        }
        return reply;
    }
    void OnLinkClosed() override { inner_->OnLinkClosed(); }

private:
    std::unique_ptr<SimMeterMode> inner_;
    std::string* script_;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (std::size_t op = 0; op < HidOperationTable::Count(); ++op) {
        std::string script(1, static_cast<char>(op));
        const unsigned pid = HidOperationTable::ProductId(op);
        SimHidDeviceSystem system;
        std::unique_ptr<SimMeterMode> inner = pid == 0x7004 ? SimRegisterMeter::T520() : SimRegisterMeter::T140();
        auto meter = system.AddMeter("/dev/hidraw0", 0x1F3C, static_cast<std::uint16_t>(pid),
                                     std::make_unique<RecordingMode>(std::move(inner), &script));
        meter->SetCommitStatuses({3, 2});
        HidOperationTable::Run(op, system);
        std::ofstream out(folder / ("op" + std::to_string(op) + ".bin"), std::ios::binary);
        out.write(script.data(), static_cast<std::streamsize>(script.size()));
    }
    return 0;
}
