#include "rules/attacks.h"
#include "rules_boards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tavlon {
namespace {

using test::BoardWith;
using test::Put;
using test::StartBoard;

// Marks for `king` and names the squares that hold 99 afterwards; every square that changed
// must have become 99.
std::string MarkedSquares(TBoard b, TPieceCode king) {
    const TBoard before = b;
    TPieceCode covered[64] = {};
    MarkAttackedSquares(b, king, covered);
    for (int i = 0; i < 64; ++i) {
        if (b.cells[i] != before.cells[i]) {
            EXPECT_EQ(b.cells[i], kAttackMark) << "offset " << i;
        }
    }
    return test::SquaresWhere([&](int c, int r) { return b.at(c, r) == kAttackMark; });
}

TEST(MarkAttackedSquares, StartPositionWhiteKing) {
    EXPECT_EQ(MarkedSquares(StartBoard(), 18),
              "A4 B4 C4 C5 C6 C7 C8 D6 D7 D8 E6 F1 F2 F3 F4 F5 F6 G5 G6 H5 H6");
}

struct MarkCase {
    const char* name;
    TPieceCode king;
    std::vector<Put> pieces;
    const char* marked;
};

TEST(MarkAttackedSquares, WhatEachPieceMarks) {
    const MarkCase cases[] = {
        {"a king in the corner", 18, {{8, 8, 48}}, "G1 G2 H2"},
        {"own pieces mark nothing", 18, {{1, 1, 17}, {2, 2, 15}, {4, 4, 16}, {4, 5, 11}}, ""},
        {"white pawn on the outer ring", 28, {{1, 7, 11}}, ""},
        {"white pawn inside the ring", 28, {{2, 7, 11}}, "A3 C3"},
        {"red pawn", 18, {{4, 4, 21}}, "E4 E6"},
        {"green pawn", 18, {{4, 4, 31}}, "C4 E4"},
        {"brown pawn", 18, {{4, 4, 41}}, "C4 C6"},
        {"pawn capture square occupied", 18, {{4, 4, 41}, {3, 3, 17}}, "C4"},
        {"knight defends a piece, which stays", 18, {{3, 2, 36}, {1, 1, 21}}, "A6 B5 D5 E6 E8"},
        {"rook line stops at the king",
         18,
         {{4, 1, 27}, {4, 5, 18}},
         "A8 B8 C8 D5 D6 D7 E8 F8 G8 H8"},
        {"rook walks through marks and 99",
         18,
         {{1, 5, 47}, {3, 5, 10}, {5, 5, 99}},
         "A1 A2 A3 A5 A6 A7 A8 B4 C4 D4 E4 F4 G4 H4"},
        {"bishop's long diagonal", 18, {{2, 2, 25}}, "A6 A8 C6 C8 D5 E4 F3 G2 H1"},
        {"bishop stopped on E4", 18, {{2, 2, 25}, {5, 5, 11}}, "A6 A8 C6 C8 D5"},
        {"last of two rooks, different columns",
         18,
         {{2, 2, 37}, {7, 7, 37}},
         "A2 B2 C2 D2 E2 F2 G1 G3 G4 G5 G6 G7 G8 H2"},
        {"last of two rooks, same column",
         18,
         {{3, 2, 37}, {3, 6, 37}},
         "A3 B3 C1 C2 C4 C5 C6 D3 E3 F3 G3 H3"},
        {"last of two bishops", 38, {{1, 1, 45}, {7, 7, 45}}, "B7 C6 D5 E4 F1 F3 H1 H3"},
        {"no king picked", 17, {{4, 4, 48}, {2, 2, 25}, {6, 6, 27}}, ""},
    };
    for (const auto& tc : cases) {
        TBoard b;
        for (const Put& p : tc.pieces)
            b.at(p.c, p.r) = p.code;
        EXPECT_EQ(MarkedSquares(b, tc.king), tc.marked) << tc.name;
    }
}

TEST(ClearTargetMarks, GivesBackTheMarksAWalkCovered) {
    // A Brown rook on H8 walks along row 1 over a Green mark on E8 (5, 1) and Red's on D8.
    const TBoard stored = BoardWith({{8, 1, 47}, {5, 1, 30}, {4, 1, 20}, {1, 1, 38}, {4, 5, 18}});
    TBoard board = stored;
    TPieceCode covered[64] = {};
    MarkAttackedSquares(board, 18, covered);
    EXPECT_EQ(board.at(5, 1), kAttackMark);
    EXPECT_EQ(board.at(4, 1), kAttackMark);
    EXPECT_EQ(board.at(2, 2), kAttackMark); // the Green king's neighbour

    // Marking again, as every later click with the king picked does, changes nothing.
    const TBoard once = board;
    TPieceCode keep[64];
    std::copy(covered, covered + 64, keep);
    MarkAttackedSquares(board, 18, covered);
    EXPECT_EQ(board, once);
    EXPECT_TRUE(std::equal(covered, covered + 64, keep));

    // The working copy of a move and then the stored board are both cleared.
    TBoard working = board;
    ClearTargetMarks(working, covered);
    ClearTargetMarks(board, covered);
    EXPECT_EQ(working, stored);
    EXPECT_EQ(board, stored);
    EXPECT_TRUE(std::equal(covered, covered + 64, keep));
}

TEST(ClearTargetMarks, EntriesLeftFromAnEarlierPickDoNotComeBack) {
    // An earlier pick covered marks on D5 and C8; both squares are empty now and get marked by
    // a king step and by a rook walk.
    TPieceCode covered[64] = {};
    covered[(4 - 1) * 8 + (4 - 1)] = 20;
    covered[(3 - 1) * 8 + (1 - 1)] = 30;
    const TBoard stored = BoardWith({{5, 5, 28}, {1, 1, 47}, {8, 8, 18}});
    TBoard b = stored;
    MarkAttackedSquares(b, 18, covered);
    ASSERT_EQ(b.at(4, 4), kAttackMark);
    ASSERT_EQ(b.at(3, 1), kAttackMark);
    ClearTargetMarks(b, covered);
    EXPECT_EQ(b, stored);
}

} // namespace
} // namespace tavlon
