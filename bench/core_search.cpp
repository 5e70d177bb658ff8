// Speed of the computer player: nodes searched per second on one core and the depth reached
// in one second, from the start position and a busy middle game.
#include "engine/movegen.h"
#include "engine/search.h"
#include "model/positiontext.h"
#include "rules/moves.h"

#include "longline.h"

#include <benchmark/benchmark.h>

namespace tavlon {
namespace {

// One search of one second; the counters are nodes per second and the depth it completed.
void RunSearch(benchmark::State& state, const Position& pos) {
    static Engine engine;
    const std::atomic<bool> stop{false};
    long long nodes = 0;
    int depth = 0;
    for (auto _ : state) {
        const SearchResult r = engine.Search(pos, {0, 0, 1000, 0}, stop);
        nodes += r.nodes;
        depth = r.depth;
    }
    state.counters["nodes"] =
        benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
    state.counters["depth"] = depth;
}

void BM_SearchOneSecondStart(benchmark::State& state) {
    RunSearch(state, StartPosition());
}
BENCHMARK(BM_SearchOneSecondStart)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_SearchOneSecondMiddleGame(benchmark::State& state) {
    const Position pos = BusyMiddleGame();
    RunSearch(state, pos);
    state.SetLabel(PositionText(pos));
}
BENCHMARK(BM_SearchOneSecondMiddleGame)->Iterations(2)->Unit(benchmark::kMillisecond);

// The engine's own move listing against the rules' listing.
void BM_GenerateMovesMiddleGame(benchmark::State& state) {
    const Position pos = BusyMiddleGame();
    MoveList list;
    for (auto _ : state) {
        GenerateMoves(pos, list);
        benchmark::DoNotOptimize(list.size);
    }
}
BENCHMARK(BM_GenerateMovesMiddleGame);

void BM_ListLegalMovesMiddleGame(benchmark::State& state) {
    const Position pos = BusyMiddleGame();
    MoveList list;
    for (auto _ : state) {
        ListLegalMoves(pos, list);
        benchmark::DoNotOptimize(list.size);
    }
}
BENCHMARK(BM_ListLegalMovesMiddleGame);

void BM_EvaluateMiddleGame(benchmark::State& state) {
    const Position pos = BusyMiddleGame();
    for (auto _ : state)
        benchmark::DoNotOptimize(Evaluate(pos, pos.side));
}
BENCHMARK(BM_EvaluateMiddleGame);

} // namespace
} // namespace tavlon
