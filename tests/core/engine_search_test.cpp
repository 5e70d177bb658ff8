// The computer player: it plays only listed moves, finds the obvious ones and passes when
// it has none.
#include "engine/movegen.h"
#include "engine/search.h"
#include "quarter_turn.h"
#include "rules/moves.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

namespace tavlon {
namespace {

// A search of `level`; a Master's is cut short by a stop from another thread, which also
// exercises the stop.
SearchResult Think(Engine& engine, const Position& pos, int level, std::uint32_t seed) {
    std::atomic<bool> stop{false};
    SearchLimits limits;
    limits.level = level;
    limits.seed = seed;
    if (level < 3)
        return engine.Search(pos, limits, stop);
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop = true;
    });
    const SearchResult r = engine.Search(pos, limits, stop);
    stopper.join();
    return r;
}

TEST(EngineSearch, EveryLevelPlaysListedMoves) {
    Engine engine;
    const auto cases = test::Cases(120, 60);
    const int counts[4] = {0, 180, 8, 4};
    MoveList legal;
    for (int level = 1; level <= 3; ++level)
        for (int i = 0; i < counts[level] && i < static_cast<int>(cases.size()); ++i) {
            const auto& c = cases[static_cast<std::size_t>(i)];
            ListLegalMoves(c.pos, legal);
            const SearchResult r = Think(engine, c.pos, level, c.seed);
            ASSERT_EQ(r.hasMove, legal.size > 0) << c.Name() << ", level " << level;
            if (r.hasMove) {
                EXPECT_TRUE(legal.Contains(r.best)) << c.Name() << ", level " << level;
            }
        }
}

TEST(EngineSearch, TheNoviceChoosesByItsSeed) {
    Engine engine;
    const Position pos = StartPosition();
    const Move first = Think(engine, pos, 1, 7).best;
    EXPECT_EQ(Think(engine, pos, 1, 7).best, first);
    bool varies = false;
    for (std::uint32_t seed = 8; seed < 40 && !varies; ++seed)
        varies = !(Think(engine, pos, 1, seed).best == first);
    EXPECT_TRUE(varies);
}

// One king in each corner, nothing else unless a case adds it; White to move.
Position Corners() {
    Position pos;
    pos.board.at(8, 8) = CodeOf(1, kKing);
    pos.board.at(1, 1) = CodeOf(2, kKing);
    pos.board.at(8, 1) = CodeOf(3, kKing);
    pos.board.at(1, 8) = CodeOf(4, kKing);
    return pos;
}

TEST(EngineSearch, TheStrongerLevelsFindTheClearMove) {
    const struct {
        const char* name;
        Square piece; // the White piece that must move
        void (*setUp)(TBoard&);
        int promotion; // the kind it must become, 0 for none
        Square to;     // where it must go; column 0 for "anywhere no opponent attacks"
    } cases[] = {
        {"an undefended rook to take",
         {4, 4},
         [](TBoard& b) {
             b.at(4, 4) = CodeOf(1, kKnight);
             b.at(5, 6) = CodeOf(2, kRook);
             b.at(2, 7) = CodeOf(1, kPawn1);
         },
         0,
         {5, 6}},
        {"a rook to save from a bishop",
         {4, 4},
         [](TBoard& b) {
             b.at(4, 4) = CodeOf(1, kRook);
             b.at(6, 2) = CodeOf(3, kBishop);
             b.at(6, 6) = CodeOf(1, kPawn1);
         },
         0,
         {0, 0}},
        {"a promotion that wins material",
         {3, 2},
         [](TBoard& b) {
             b.at(3, 2) = CodeOf(1, kPawn1);
             b.at(6, 6) = CodeOf(1, kKnight);
         },
         kRook,
         {3, 1}},
    };
    Engine engine;
    for (const auto& c : cases)
        for (int level = 2; level <= 3; ++level) {
            Position pos = Corners();
            c.setUp(pos.board);
            std::atomic<bool> stop{false};
            SearchLimits limits;
            limits.level = level;
            const SearchResult r = engine.Search(pos, limits, stop);
            const std::string name = std::string(c.name) + ", level " + std::to_string(level);
            ASSERT_TRUE(r.hasMove) << name;
            EXPECT_EQ(r.best.from, c.piece) << name;
            EXPECT_EQ(r.best.promotion, c.promotion) << name;
            if (c.to.c != 0) {
                EXPECT_EQ(r.best.to, c.to) << name;
                continue;
            }
            Position after = pos;
            CarryOut(after, r.best);
            AttackMaps attacks;
            ComputeAttacks(after.board, attacks);
            for (int p = 2; p <= kPlayers; ++p)
                EXPECT_EQ(attacks.by[p] & SquareBit(r.best.to), 0U) << name << ", player " << p;
        }
}

TEST(EngineSearch, NoListedMoveMeansNoBestMove) {
    // White's king in its corner, its three neighbours the other kings.
    Position pos;
    pos.board.at(1, 1) = CodeOf(1, kKing);
    pos.board.at(2, 1) = CodeOf(2, kKing);
    pos.board.at(1, 2) = CodeOf(3, kKing);
    pos.board.at(2, 2) = CodeOf(4, kKing);
    Engine engine;
    for (int level = 1; level <= 3; ++level)
        EXPECT_FALSE(Think(engine, pos, level, 1).hasMove) << "level " << level;
}

} // namespace
} // namespace tavlon
