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

// The squares a picked `king` may not enter, by name; none for a code that is no king.
std::string MarkedSquares(const TBoard& b, TPieceCode king) {
    const std::uint64_t mask = IsKing(king) ? KingAttackMask(b, OwnerOf(king)) : 0;
    return test::SquaresWhere([&](int c, int r) { return (mask & SquareBit({c, r})) != 0; });
}

TEST(KingAttackMask, StartPositionWhiteKing) {
    EXPECT_EQ(MarkedSquares(StartBoard(), 18),
              "A4 B4 C4 C5 C6 C7 C8 D6 D7 D8 E6 F1 F2 F3 F4 F5 F6 G5 G6 H5 H6");
}

struct MarkCase {
    const char* name;
    TPieceCode king;
    std::vector<Put> pieces;
    const char* marked;
};

TEST(KingAttackMask, WhatEachPieceMarks) {
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
        {"rook walks through en-passant marks",
         18,
         {{1, 5, 47}, {3, 5, 10}},
         "A1 A2 A3 A5 A6 A7 A8 B4 C4 D4 E4 F4 G4 H4"},
        {"bishop's long diagonal", 18, {{2, 2, 25}}, "A6 A8 C6 C8 D5 E4 F3 G2 H1"},
        {"bishop stopped on E4", 18, {{2, 2, 25}, {5, 5, 11}}, "A6 A8 C6 C8 D5"},
        {"no king picked", 17, {{4, 4, 48}, {2, 2, 25}, {6, 6, 27}}, ""},
    };
    for (const auto& tc : cases) {
        TBoard b;
        for (const Put& p : tc.pieces)
            b.at(p.c, p.r) = p.code;
        EXPECT_EQ(MarkedSquares(b, tc.king), tc.marked) << tc.name;
    }
}

// Every rook and bishop of a player marks its lines, a second one from a promotion too.
TEST(KingAttackMask, EveryRookAndBishopMarks) {
    const std::vector<Put> pairs[] = {
        {{2, 2, 37}, {7, 7, 37}}, {{3, 2, 37}, {3, 6, 37}}, {{1, 1, 45}, {7, 7, 45}},
        {{2, 6, 27}, {6, 3, 25}}, {{5, 1, 47}, {4, 7, 45}},
    };
    for (const auto& pair : pairs) {
        TBoard both, first, second;
        both.at(pair[0].c, pair[0].r) = first.at(pair[0].c, pair[0].r) = pair[0].code;
        both.at(pair[1].c, pair[1].r) = second.at(pair[1].c, pair[1].r) = pair[1].code;
        const auto mask = [](const TBoard& b) { return KingAttackMask(b, 1); };
        // Where one piece stands in the other's line, that line ends on it.
        const std::uint64_t standing =
            SquareBit({pair[0].c, pair[0].r}) | SquareBit({pair[1].c, pair[1].r});
        EXPECT_EQ(mask(both) & ~standing, (mask(first) | mask(second)) & ~standing)
            << int{pair[0].code} << " and " << int{pair[1].code};
    }
}

} // namespace
} // namespace tavlon
