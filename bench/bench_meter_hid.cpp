// A full profile write and read per HID family against the simulated meter with a fixed simulated
// round trip. Reports the exchanges of each operation and the host time per exchange as a fraction
// of the round trip (how much the link's own work adds to what the wire costs).
#include "meter/CCommT140.h"
#include "meter/CCommT520.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimRegisterMeter.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr std::uint32_t kRoundTripMs = 2;

// Names of sixteen units and a saved memory full of data: the longest transfers.
std::unique_ptr<SimRegisterMeter> MeterWithData(bool t520)
{
    auto sim = t520 ? SimRegisterMeter::T520() : SimRegisterMeter::T140();
    SimRegisterMemory m = sim->Factory();
    for (auto& unit : m.header) unit = 0x4142;
    for (auto& slot : m.slots) {
        for (auto& unit : slot.name) unit = 0x4344;
        for (std::size_t i = 0; i < slot.data.size(); ++i) slot.data[i] = static_cast<std::uint8_t>(i);
    }
    sim->SetSaved(m);
    return sim;
}

template <typename Comm, typename Block>
void RunProfiles(benchmark::State& state, bool t520, bool write)
{
    SimHidDeviceSystem system;
    system.SetRoundTripMs(kRoundTripMs);
    auto meter = system.AddMeter("/dev/hidraw0", 0x1F3C, Comm::kProductId, MeterWithData(t520));
    Block block;
    {
        Comm reader(system);
        reader.OpenDevice();
        reader.ReadAllProfiles(&block); // a block that holds the meter's data
        reader.Close();
    }
    std::uint64_t exchanges = 0;
    double hostSeconds = 0;
    for (auto _ : state) {
        Comm comm(system);
        comm.OpenDevice();
        const COMMTIMEOUTS timeouts{100, 20, 500, 20, 500};
        comm.SetTimeouts(&timeouts);
        meter->ResetExchangeCount();
        const auto start = std::chrono::steady_clock::now();
        const BOOL ok = write ? comm.WriteProfiles(&block, 0x7FF) : comm.ReadAllProfiles(&block);
        hostSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) state.SkipWithError("operation failed");
        exchanges = meter->ExchangeCount();
        comm.Close();
        meter->ClearLog();
    }
    const double perExchange = hostSeconds / static_cast<double>(state.iterations()) / static_cast<double>(exchanges);
    state.counters["exchanges"] = static_cast<double>(exchanges);
    state.counters["host_us_per_exchange"] = perExchange * 1e6;
    state.counters["fraction_of_round_trip"] = perExchange / (kRoundTripMs / 1000.0);
}

void BM_T520_ReadAllProfiles(benchmark::State& s) { RunProfiles<CCommT520, T520TransferBlock>(s, true, false); }
void BM_T520_WriteProfiles(benchmark::State& s) { RunProfiles<CCommT520, T520TransferBlock>(s, true, true); }
void BM_T140_ReadAllProfiles(benchmark::State& s) { RunProfiles<CCommT140, T140TransferBlock>(s, false, false); }
void BM_T140_WriteProfiles(benchmark::State& s) { RunProfiles<CCommT140, T140TransferBlock>(s, false, true); }

BENCHMARK(BM_T520_ReadAllProfiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_T520_WriteProfiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_T140_ReadAllProfiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_T140_WriteProfiles)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
