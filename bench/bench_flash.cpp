// A full firmware write per meter family against the simulated meter with a fixed simulated round
// trip: the exchanges of the write (every script line and the closing "H00000", the meter never
// answering busy) and the host time per exchange as a fraction of the round trip, that is how much
// the player, the script check and the link add to what the wire costs.
//
// Host time is the processor time of the thread that runs the player (user and system), so the
// time it spends waiting for a simulator thread or for a processor on a busy machine does not
// count, while its own system calls do. The HID simulators answer inside that thread, so their work
// is counted as host time too; the T-310 simulator answers from its own thread behind a
// pseudo-terminal. The elapsed time per exchange is shown beside it for information.
#include "flash/CZarnflashHidLink.h"
#include "flash/CZarnflashPlayer.h"
#include "flash/CZarnflashSerialLink.h"
#include "meter/CCommT140.h"
#include "meter/CCommT520.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SimFlashMode.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimRegisterMeter.h"
#include "tests/support/SimT310Rig.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include <sys/resource.h>

namespace {

constexpr std::uint32_t kRoundTripMs = 2;
constexpr int kRecords = 4000;

class NoMessages final : public FlashMessageTarget {
public:
    void PostThreadMessage(UINT, WPARAM, LPARAM) override {}
};

// entry, erase, records, final check; returns the number of lines.
std::size_t WriteScript(const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    out << "P0000F\r\nQ00001\r\n";
    for (int i = 0; i < kRecords; ++i) {
        char line[40];
        std::snprintf(line, sizeof line, "R%034d", i);
        out << line << "\r\n";
    }
    out << "Q000F1\r\n";
    return static_cast<std::size_t>(kRecords) + 3;
}

// Processor time of the calling thread so far, in seconds. The kernel splits user from system time
// by sampling, so only their sum is reported.
struct ThreadTimes {
    double user = 0;
    double system = 0;

    static ThreadTimes Now()
    {
        rusage usage{};
        ::getrusage(RUSAGE_THREAD, &usage);
        auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
        return {seconds(usage.ru_utime), seconds(usage.ru_stime)};
    }
};

// Host and elapsed time over the runs of one benchmark.
struct Timing {
    double user = 0;
    double system = 0;
    double elapsed = 0;

    template <class Body>
    void Measure(Body&& body)
    {
        const ThreadTimes before = ThreadTimes::Now();
        const auto start = std::chrono::steady_clock::now();
        body();
        elapsed += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const ThreadTimes after = ThreadTimes::Now();
        user += after.user - before.user;
        system += after.system - before.system;
    }
};

void Report(benchmark::State& state, const Timing& timing, std::uint64_t exchanges, std::size_t lines)
{
    const double count = static_cast<double>(state.iterations()) * static_cast<double>(exchanges);
    const double host = (timing.user + timing.system) / count;
    state.counters["exchanges"] = static_cast<double>(exchanges);
    state.counters["script_exchanges"] = static_cast<double>(lines + 1);
    state.counters["host_us_per_exchange"] = host * 1e6;
    state.counters["elapsed_us_per_exchange"] = timing.elapsed / count * 1e6;
    state.counters["fraction_of_round_trip"] = host / (kRoundTripMs / 1000.0);
}

void RunHid(benchmark::State& state, bool t520)
{
    ScratchFolder scratch;
    const std::string path = scratch.File(t520 ? "QP520210.dlf" : "QM630210.dlf");
    const std::size_t lines = WriteScript(path);
    SimHidDeviceSystem system;
    system.SetRoundTripMs(kRoundTripMs);
    auto flash = std::make_unique<SimFlashMode>(t520 ? std::unique_ptr<SimMeterMode>(SimRegisterMeter::T520())
                                                     : std::unique_ptr<SimMeterMode>(SimRegisterMeter::T140()));
    flash->SetEraseBusyPolls(0);
    flash->SetFinalBusyPolls(0);
    auto meter = system.AddMeter("/dev/hidraw0", 0x1F3C, t520 ? CCommT520::kProductId : CCommT140::kProductId,
                                 std::move(flash));
    const FlashPlayerForm form{6, "P0000F", 1, 2, 3, FlashPlayerForm::Kind::MainHid};
    NoMessages none;
    std::uint64_t exchanges = 0;
    Timing timing;
    for (auto _ : state) {
        std::unique_ptr<CCommHidMeter> comm;
        if (t520) {
            comm = std::make_unique<CCommT520>(system);
        } else {
            comm = std::make_unique<CCommT140>(system);
        }
        CZarnflashHidLink link(std::move(comm), t520 ? CZarnflashHidLink::Family::T520 : CZarnflashHidLink::Family::T140);
        CZarnflashPlayer player(form, link, none, system.Clock());
        meter->ResetExchangeCount();
        meter->ClearLog();
        int result = 0;
        timing.Measure([&] { result = player.Run(path, ""); });
        if (result != 0) state.SkipWithError("write failed");
        exchanges = meter->ExchangeCount();
    }
    Report(state, timing, exchanges, lines);
}

void BM_T140_FirmwareWrite(benchmark::State& s) { RunHid(s, false); }
void BM_T520_FirmwareWrite(benchmark::State& s) { RunHid(s, true); }

// The T-310's exchanges cross a pseudo-terminal to the simulator's thread: the host's share of the
// kernel's hand-over (its writes and reads) counts, the wait for the simulator does not.
void BM_T310_FirmwareWrite(benchmark::State& state)
{
    ScratchFolder scratch;
    const std::string path = scratch.File("QK850210.dlf");
    const std::size_t lines = WriteScript(path);
    SimT310Rig rig(true);
    rig.FlashMode()->SetEraseBusyPolls(0);
    rig.FlashMode()->SetFinalBusyPolls(0);
    rig.Line().SetReplyLatencyMs(kRoundTripMs);
    const FlashPlayerForm form{6, "P0000F", 1, 2, 3, FlashPlayerForm::Kind::MainSerial};
    NoMessages none;
    std::uint64_t exchanges = 0;
    Timing timing;
    for (auto _ : state) {
        CZarnflashSerialLink link(
            std::make_unique<CCommT310>(rig.System(), UsbSerialPortFinder(rig.Sysfs().Root()), rig.DeviceDir()));
        CZarnflashPlayer player(form, link, none, rig.Clock());
        rig.Meter().ResetExchangeCount();
        rig.Meter().ClearLog();
        int result = 0;
        timing.Measure([&] { result = player.Run(path, ""); });
        if (result != 0) state.SkipWithError("write failed");
        // The "[" handshake is the link's set-up, not a script exchange.
        exchanges = rig.Meter().ExchangeCount() - 1;
    }
    Report(state, timing, exchanges, lines);
}

BENCHMARK(BM_T140_FirmwareWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_T520_FirmwareWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_T310_FirmwareWrite)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
