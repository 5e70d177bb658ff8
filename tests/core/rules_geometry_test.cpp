#include "rules/geometry.h"
#include "rules_boards.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tavlon {
namespace {

using test::BoardWith;
using test::Put;

struct ReachCase {
    const char* name;
    int side;
    TPieceCode piece;
    Square source;
    std::vector<Put> others;
    int flag;          // the piece's double-step flag, when it is a pawn
    int rights;        // the special-move right of the side
    const char* reach; // every hovered square that passes, "*" for all 64
};

std::string ReachOf(const ReachCase& tc) {
    Position pos;
    pos.side = static_cast<std::uint8_t>(tc.side);
    if (IsPawn(tc.piece))
        pos.flags.SetPawn(tc.piece, tc.flag != 0);
    pos.flags.kingRights[tc.side] = static_cast<std::uint8_t>(tc.rights);
    // The board as the picked piece sees it (a king's may carry attack marks).
    TBoard b = BoardWith({{tc.source.c, tc.source.r, tc.piece}});
    for (const Put& p : tc.others)
        b.at(p.c, p.r) = p.code;
    const std::string reach = test::SquaresWhere([&](int c, int r) {
        return PieceGeometry(b, pos, tc.piece, tc.source, {c, r});
    });
    return reach == test::SquaresWhere([](int, int) { return true; }) ? "*" : reach;
}

TEST(PieceGeometry, ReachOfEachRule) {
    const ReachCase cases[] = {
        // Pawns: B2 is (2, 7).
        {"white pawn on its start line", 1, 12, {2, 7}, {}, 1, 0, "B3 B4"},
        {"double step blocked at once", 1, 12, {2, 7}, {{2, 6, 41}}, 1, 0, ""},
        {"double step blocked second", 1, 12, {2, 7}, {{2, 5, 41}}, 1, 0, "B3"},
        {"white pawn that has moved", 1, 12, {2, 7}, {}, 0, 0, "B3"},
        {"straight onto a mark refused, diagonal onto one allowed",
         1,
         12,
         {2, 7},
         {{2, 6, 30}, {1, 6, 31}, {3, 6, 20}},
         0,
         0,
         "A3 C3"},
        {"no backward or sideways step",
         1,
         11,
         {4, 5},
         {{3, 6, 21}, {5, 6, 21}, {3, 5, 21}, {4, 6, 21}},
         1,
         0,
         "D5 D6"},
        {"red pawn goes right", 2, 23, {2, 3}, {{3, 2, 31}}, 0, 0, "C6 C7"},
        {"green pawn double step", 3, 33, {7, 2}, {}, 1, 0, "G5 G6"},
        {"brown pawn goes left", 4, 41, {7, 5}, {{6, 4, 11}, {6, 6, 21}}, 0, 0, "F3 F4 F5"},
        {"direction follows the side to move", 3, 12, {2, 6}, {}, 0, 0, "B2"},
        // Knight: whatever stands around it.
        {"knight jumps over a crowd",
         1,
         16,
         {5, 5},
         {{4, 4, 21},
          {5, 4, 21},
          {6, 4, 21},
          {4, 5, 21},
          {6, 5, 21},
          {4, 6, 21},
          {5, 6, 21},
          {6, 6, 21}},
         0,
         0,
         "C3 C5 D2 D6 F2 F6 G3 G5"},
        {"knight in the corner", 1, 16, {1, 8}, {}, 0, 0, "B3 C2"},
        // Bishop on D4 (4, 5).
        {"bishop on an empty board",
         1,
         15,
         {4, 5},
         {},
         0,
         0,
         "A1 A7 B2 B6 C3 C5 D4 E3 E5 F2 F6 G1 G7 H8"},
        {"bishop stops at a piece, a mark and 99",
         1,
         15,
         {4, 5},
         {{2, 3, 21}, {6, 3, 40}, {5, 6, 99}},
         0,
         0,
         "A1 B2 B6 C3 C5 D4 E3 E5 F6"},
        {"bishop with every neighbour taken",
         1,
         15,
         {4, 5},
         {{3, 4, 21}, {5, 6, 21}, {3, 6, 21}, {5, 4, 21}},
         0,
         0,
         "C3 C5 D4 E3 E5"},
        // Rook.
        {"rook on C1 beside a piece on B1",
         1,
         17,
         {3, 8},
         {{2, 8, 26}},
         0,
         0,
         "B1 C1 C2 C3 C4 C5 C6 C7 C8 D1 E1 F1 G1 H1"},
        {"rook hemmed in on four sides",
         2,
         27,
         {4, 4},
         {{3, 4, 11}, {5, 4, 11}, {4, 3, 11}, {4, 5, 11}},
         0,
         0,
         "C5 D4 D5 D6 E5"},
        {"rook stops at a mark and at 99",
         3,
         37,
         {4, 4},
         {{4, 2, 10}, {7, 4, 99}},
         0,
         0,
         "A5 B5 C5 D1 D2 D3 D4 D5 D6 D7 E5 F5 G5"},
        // King.
        {"king away from home", 1, 18, {5, 5}, {}, 1, 1, "D3 D4 D5 E3 E5 F3 F4 F5"},
        {"king at home, rook at home", 1, 18, {4, 8}, {}, 0, 1, "*"},
        {"king at home, rook in corner", 1, 18, {4, 8}, {}, 0, 2, "*"},
        {"knight square occupied", 1, 18, {4, 8}, {{2, 8, 16}}, 0, 1, "C1 C2 D2 E1 E2"},
        {"knight square attacked", 1, 18, {4, 8}, {{2, 8, 99}}, 0, 1, "C1 C2 D2 E1 E2"},
        {"knight square holds a mark", 1, 18, {4, 8}, {{2, 8, 20}}, 0, 2, "C1 C2 D2 E1 E2"},
        {"no special rights", 1, 18, {4, 8}, {}, 0, 0, "C1 C2 D2 E1 E2"},
        {"rights of another value", 1, 18, {4, 8}, {}, 0, 3, "C1 C2 D2 E1 E2"},
        {"white king on red's home", 1, 18, {1, 4}, {}, 0, 1, "A4 A6 B4 B5 B6"},
    };
    for (const auto& tc : cases)
        EXPECT_EQ(ReachOf(tc), tc.reach) << tc.name;
}

TEST(PieceGeometry, CodesThatAreNoPieceGoNowhere) {
    for (const TPieceCode code : {kEmpty, CodeOf(1, kPassMark), kAttackMark}) {
        const TBoard b = BoardWith({{4, 5, code}});
        EXPECT_FALSE(PieceGeometry(b, Position{}, code, {4, 5}, {4, 4})) << int{code};
    }
}

} // namespace
} // namespace tavlon
