// Mate: positions small enough to check by hand, White to move, one row per way out.
#include "model/startpos.h"
#include "rules/moves.h"
#include "rules_boards.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavlon {
namespace {

using test::Put;

struct MateCase {
    const char* name;
    std::vector<Put> pieces;
    bool mated;
};

// White king A1 held by a Green rook along the first rank and a Brown rook along the second.
const std::vector<Put> kCorner = {{1, 8, 18}, {8, 8, 37}, {8, 7, 47},
                                  {1, 1, 28}, {5, 1, 38}, {8, 4, 48}};
// White king E8 checked by a Red pawn on D7 that has just passed C7 in a double step; D7 is
// guarded by a Brown knight, D8 by a Green bishop, the other squares are White's own.
const std::vector<Put> kPassedPawn = {{5, 1, 18}, {4, 2, 21}, {3, 2, 20}, {4, 3, 11},
                                      {5, 2, 12}, {6, 2, 13}, {6, 1, 17}, {1, 4, 35},
                                      {3, 4, 46}, {8, 8, 28}, {8, 3, 38}, {1, 8, 48}};
// White king H8 checked by a Green rook on G8 that a Brown knight guards; the knight holds H7.
const std::vector<Put> kLastRank = {{8, 1, 18}, {7, 1, 37}, {6, 3, 46},
                                    {1, 4, 28}, {1, 8, 38}, {4, 5, 48}};
// White king at home on D1 checked along the D file and the first rank; the second rank is
// Brown's. Its knight's square B1 is free, so the king may step anywhere unmarked.
const std::vector<Put> kAtHome = {{4, 8, 18}, {3, 8, 17}, {4, 1, 37}, {8, 7, 47},
                                  {8, 8, 27}, {1, 4, 28}, {5, 1, 38}, {8, 5, 48}};
// White king A1 checked along the first rank; a Red knight holds A2 and B1. B2 is open
// unless a second Brown rook stands on B7.
const std::vector<Put> kSecondRook = {{1, 8, 18}, {8, 8, 37}, {3, 6, 26}, {8, 3, 47},
                                      {5, 4, 28}, {5, 1, 38}, {8, 5, 48}};

// White king A4 checked along the fourth rank; Brown holds the fifth, Red's knights A3, B3
// and B4. A pawn's double step from D2 to D4 steps between.
const std::vector<Put> kDoubleStep = {{1, 5, 18}, {8, 5, 37}, {8, 4, 47}, {1, 8, 26}, {3, 7, 26},
                                      {4, 7, 14}, {8, 8, 28}, {8, 1, 38}, {5, 1, 48}};

std::vector<Put> With(std::vector<Put> pieces, std::initializer_list<Put> more) {
    pieces.insert(pieces.end(), more);
    return pieces;
}

Position WhiteToMove(const std::vector<Put>& pieces) {
    Position pos;
    for (const Put& p : pieces)
        pos.board.at(p.c, p.r) = p.code;
    DeriveStartFlags(pos.board, pos.flags);
    return pos;
}

TEST(Mate, OnlyWhenNoMoveLiftsTheCheck) {
    const MateCase cases[] = {
        {"two ranks held", kCorner, true},
        {"a rook steps between", With(kCorner, {{4, 6, 17}}), false},
        {"not in check", With(kCorner, {{8, 8, 0}}), false},
        {"the king takes a loose checker", With(kCorner, {{8, 8, 0}, {2, 8, 37}}), false},
        {"the checker is guarded", With(kCorner, {{8, 8, 0}, {2, 8, 37}, {3, 6, 26}}), true},
        {"only en passant takes the checker", kPassedPawn, false},
        {"no mark, no en passant", With(kPassedPawn, {{3, 2, 0}}), true},
        {"only a promotion takes the checker", With(kLastRank, {{6, 2, 11}}), false},
        {"the pawn one file too far", With(kLastRank, {{5, 2, 11}}), true},
        {"beside another king is barred", With(kCorner, {{8, 7, 0}, {1, 1, 0}, {2, 6, 28}}), true},
        {"a pawn's double step steps between", kDoubleStep, false},
        {"a knight on D3 stops the pawn", With(kDoubleStep, {{4, 6, 46}}), true},
        {"the king's long step from home", kAtHome, false},
        {"a knight on B1 bars the long step", With(kAtHome, {{2, 8, 16}}), true},
        {"B2 open", kSecondRook, false},
        {"B2 held by a second rook", With(kSecondRook, {{2, 2, 47}}), true},
    };
    for (const auto& tc : cases) {
        EXPECT_EQ(IsMated(WhiteToMove(tc.pieces)), tc.mated) << tc.name;
    }
}

} // namespace
} // namespace tavlon
