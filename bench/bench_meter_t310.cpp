// A full profile write (all three slots and the header) and a full profile read of the T-310 link
// against the simulated meter on a pseudo-terminal, with a fixed simulated round trip per
// exchange. Reports the exchanges of each operation next to the count the command set implies,
// and the host's own time per exchange as a fraction of that round trip.
#include "tests/support/SimT310Rig.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

constexpr std::uint32_t kRoundTripMs = 2; // twelve bytes at 115200 baud and the meter's own work
constexpr double kExpectedWriteExchanges = 2 * (16 + 3 * 436) + 1; // address and word per word, one commit
constexpr double kExpectedReadExchanges = 2 * (16 + 3 * 436);

void Report(benchmark::State& state, double exchanges, double expected, double hostSeconds, double simulatedMs)
{
    const double iterations = static_cast<double>(state.iterations());
    state.counters["exchanges"] = exchanges / iterations;
    state.counters["expected"] = expected;
    state.counters["counts_match"] = exchanges / iterations == expected ? 1 : 0;
    state.counters["sim_ms_per_exchange"] = simulatedMs / exchanges;
    state.counters["host_us_per_exchange"] = hostSeconds * 1e6 / exchanges;
    state.counters["host_fraction_of_round_trip"] = hostSeconds * 1e3 / exchanges / kRoundTripMs;
}

void BM_T310WriteAllProfiles(benchmark::State& state)
{
    SimT310Rig rig;
    if (!rig.IsReady() || !rig.OpenAndPrepare()) {
        state.SkipWithError("no simulated meter");
        return;
    }
    rig.Line().SetReplyLatencyMs(kRoundTripMs);
    T310TransferBlock block;
    for (std::size_t i = 0; i < T310TransferBlock::kSize; ++i) block.bytes[i] = static_cast<std::uint8_t>(i * 13);
    double hostSeconds = 0;
    const std::uint64_t simStart = rig.Clock().NowMs();
    rig.Meter().ResetExchangeCount();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const BOOL ok = rig.Link().WriteProfiles(&block, 0xF, nullptr);
        hostSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            state.SkipWithError("write failed");
            return;
        }
    }
    const double exchanges = static_cast<double>(rig.Meter().ExchangeCount());
    Report(state, exchanges, kExpectedWriteExchanges, hostSeconds,
           static_cast<double>(rig.Clock().NowMs() - simStart));
}

void BM_T310ReadAllProfiles(benchmark::State& state)
{
    SimT310Rig rig;
    if (!rig.IsReady() || !rig.OpenAndPrepare()) {
        state.SkipWithError("no simulated meter");
        return;
    }
    rig.Line().SetReplyLatencyMs(kRoundTripMs);
    T310TransferBlock block;
    double hostSeconds = 0;
    const std::uint64_t simStart = rig.Clock().NowMs();
    rig.Meter().ResetExchangeCount();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const BOOL ok = rig.Link().ReadAllProfiles(&block, nullptr);
        hostSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            state.SkipWithError("read failed");
            return;
        }
    }
    const double exchanges = static_cast<double>(rig.Meter().ExchangeCount());
    Report(state, exchanges, kExpectedReadExchanges, hostSeconds,
           static_cast<double>(rig.Clock().NowMs() - simStart));
}

} // namespace

BENCHMARK(BM_T310WriteAllProfiles)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_T310ReadAllProfiles)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
