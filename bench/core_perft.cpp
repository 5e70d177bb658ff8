// Speed of the rules themselves: the legal-move tree counted to a depth (list the moves,
// carry each out on a copy, recurse), in leaves per second on one core.
#include "engine/perft.h"
#include "model/positiontext.h"
#include "rules/moves.h"

#include <benchmark/benchmark.h>

#include <random>

namespace tavlon {
namespace {

// A busy middle game: 20 moves chosen by a fixed seed from the start position.
Position MiddleGame() {
    std::mt19937 rng(2026);
    Position pos = StartPosition();
    MoveList moves;
    for (int ply = 0; ply < 20; ++ply) {
        ListLegalMoves(pos, moves);
        if (moves.size == 0)
            break;
        CarryOut(pos, moves.moves[rng() % static_cast<unsigned>(moves.size)]);
    }
    return pos;
}

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
    const Position pos = MiddleGame();
    RunPerft(state, pos);
    state.SetLabel(PositionText(pos));
}
BENCHMARK(BM_PerftMiddleGame)->DenseRange(3, 4)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavlon
