// Speed of the game core: the hover verdict, the king's marks and a whole clicked move.
#include "flow/game.h"
#include "longline.h"
#include "model/startpos.h"
#include "port/nullport.h"
#include "rules/attacks.h"
#include "storage/autosavewriter.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace tavlon {
namespace {

struct BenchTable {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "tavlon-bench";
    NullPort port;
    std::unique_ptr<Game> game;
    BenchTable() {
        std::filesystem::create_directories(dir);
        game = std::make_unique<Game>(port, dir.string());
        game->FormCreate();
        game->FormShow();
        game->mmNewClick();
    }
    void Click(int c, int r) {
        game->imgMouseMove({true, {c, r}, false});
        game->imgMouseUp({true, {c, r}, false}, MouseButton::Left);
    }
};

void BM_HoverWithRookPicked(benchmark::State& state) {
    BenchTable t;
    // Mid-game: the White knight and a pawn have moved, opening the rook's lines.
    t.Click(2, 8), t.Click(1, 6); // B1A3
    t.Click(1, 2), t.Click(3, 1); // A7C8
    t.Click(7, 1), t.Click(8, 3); // G8H6
    t.Click(8, 7), t.Click(6, 8); // H2F1
    t.Click(3, 7), t.Click(3, 5); // C2C4
    t.Click(3, 1), t.Click(1, 2); // C8A7
    t.Click(8, 3), t.Click(7, 1); // H6G8
    t.Click(6, 8), t.Click(8, 7); // F1H2
    t.Click(3, 8);                // the White rook picked
    int i = 0;
    for (auto _ : state) {
        const Square sq{(i * 37) % 8 + 1, (i * 53) % 8 + 1};
        t.game->imgMouseMove({true, sq, false});
        ++i;
    }
}
BENCHMARK(BM_HoverWithRookPicked);

// A click on the move list from the last of 10,000 plies to the first line and back.
void BM_ListJumpAcross10000Plies(benchmark::State& state) {
    BenchTable t;
    MakeUpLine(t.game->state(), kMaxPly);
    for (auto _ : state) {
        t.game->ListBoxClick(0);
        t.game->ListBoxClick(kMaxPly - 2);
    }
    state.SetItemsProcessed(2 * state.iterations()); // jumps
}
BENCHMARK(BM_ListJumpAcross10000Plies)->Unit(benchmark::kMicrosecond);

void BM_KingAttackMaskStart(benchmark::State& state) {
    const Position start = StartPosition();
    for (auto _ : state)
        benchmark::DoNotOptimize(KingAttackMask(start.board, 1));
}
BENCHMARK(BM_KingAttackMaskStart);

// Times the White knight's B1-A3 by clicks (the move, its line and the autosave handed
// over), undoing it untimed.
void TimeClickedMoves(benchmark::State& state, BenchTable& t) {
    for (auto _ : state) {
        t.Click(2, 8);
        t.Click(1, 6);
        state.PauseTiming();
        if (t.game->state().CurrentPly != 2) {
            state.SkipWithError("the move was not played");
            break;
        }
        t.game->mmUndoClick();
        state.ResumeTiming();
    }
}

void BM_WholeClickedMoveWithSnapshot(benchmark::State& state) {
    BenchTable t;
    TimeClickedMoves(state, t);
}
BENCHMARK(BM_WholeClickedMoveWithSnapshot)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same move while the autosave goes to a disk that takes 50 ms more for every write: the
// wall time of the window's thread must not see the disk.
void BM_WholeClickedMoveSlowDisk(benchmark::State& state) {
    BenchTable t;
    t.game->Autosaver().SetBeforeWrite(
        [] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); });
    TimeClickedMoves(state, t);
    t.game->FinishAutosave(); // outside the timed loop
    t.game->Autosaver().SetBeforeWrite(nullptr);
}
BENCHMARK(BM_WholeClickedMoveSlowDisk)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
} // namespace tavlon
