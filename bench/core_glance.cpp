// What the board shows after every move: the kings in check and a mate of the player to
// move, measured together on a quiet position and on a crowded mate where every move of the
// mated player has to be tried.
#include "model/startpos.h"
#include "rules/incheck.h"
#include "rules/moves.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace tavlon {
namespace {

void CheckAndMate(benchmark::State& state, const GameState& s, bool expectMate) {
    if (IsMated(s.Current()) != expectMate) {
        state.SkipWithError("the position is not what the benchmark expects");
        return;
    }
    for (auto _ : state) {
        bool inCheck[5];
        KingsInCheck(s.Board(), inCheck);
        benchmark::DoNotOptimize(inCheck);
        benchmark::DoNotOptimize(IsMated(s.Current()));
    }
}

void BM_CheckAndMateStartPosition(benchmark::State& state) {
    auto s = std::make_unique<GameState>();
    SetStandardLayout(*s);
    PlacePieces(*s, 1, 2);
    s->CurrentPly = 1;
    DeriveStartFlags(*s, 1);
    CheckAndMate(state, *s, false);
}
BENCHMARK(BM_CheckAndMateStartPosition);

void BM_CheckAndMateCrowdedMate(benchmark::State& state) {
    // White king A1, checked along the first rank and held on the second; White's rook,
    // bishop, three knights and four pawns all have moves, none of which helps.
    struct Put {
        int c, r;
        TPieceCode code;
    };
    const Put pieces[] = {{1, 8, 18}, {8, 8, 37}, {8, 7, 47}, {1, 1, 28}, {5, 1, 38},
                          {8, 4, 48}, {3, 3, 16}, {6, 3, 16}, {4, 4, 16}, {2, 4, 11},
                          {3, 5, 12}, {6, 5, 13}, {7, 4, 14}, {4, 1, 15}, {2, 2, 17}};
    auto s = std::make_unique<GameState>();
    s->CurrentPly = 1;
    for (const Put& p : pieces)
        s->Board().at(p.c, p.r) = p.code;
    DeriveStartFlags(*s, 1);
    CheckAndMate(state, *s, true);
}
BENCHMARK(BM_CheckAndMateCrowdedMate);

} // namespace
} // namespace tavlon
