// Speed of the rules themselves: the legal-move tree counted to a depth (list the moves,
// carry each out on a copy, recurse), in leaves per second on one core.
#include "engine/perft.h"
#include "model/positiontext.h"
#include "rules/moves.h"

#include "longline.h"

#include <benchmark/benchmark.h>

namespace tavlon {
namespace {

void RunPerft(benchmark::State& state, const Position& pos) {
    const int depth = static_cast<int>(state.range(0));
    std::uint64_t leaves = 0;
    for (auto _ : state) {
        const std::uint64_t n = Perft(pos, depth);
        benchmark::DoNotOptimize(n);
        leaves += n;
    }
    state.counters["leaves"] =
        benchmark::Counter(static_cast<double>(leaves), benchmark::Counter::kIsRate);
}

void BM_PerftStart(benchmark::State& state) {
    RunPerft(state, StartPosition());
}
BENCHMARK(BM_PerftStart)->DenseRange(3, 5)->Unit(benchmark::kMillisecond);

void BM_PerftMiddleGame(benchmark::State& state) {
    const Position pos = BusyMiddleGame();
    RunPerft(state, pos);
    state.SetLabel(PositionText(pos));
}
BENCHMARK(BM_PerftMiddleGame)->DenseRange(3, 4)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavlon
