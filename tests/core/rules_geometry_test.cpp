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
    int flag;          // PawnStartFlags[piece]
    int rights;        // KingSpecialRights[side]
    const char* reach; // every hovered square that passes, "*" for all 64
};

std::string ReachOf(const ReachCase& tc) {
    auto s = std::make_unique<GameState>();
    s->SideToMove = static_cast<std::uint8_t>(tc.side);
    s->PawnStartFlags[tc.piece] = static_cast<std::uint8_t>(tc.flag);
    s->KingSpecialRights[tc.side] = static_cast<std::uint8_t>(tc.rights);
    TBoard b = BoardWith({{tc.source.c, tc.source.r, tc.piece}});
    for (const Put& p : tc.others)
        b.at(p.c, p.r) = p.code;
    const std::string reach = test::SquaresWhere([&](int c, int r) {
        std::uint8_t verdict = 0, special = 0;
        PieceGeometry(b, *s, tc.piece, tc.source, {c, r}, verdict, special);
        return verdict == 1;
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

TEST(PieceGeometry, NoRuleLeavesTheVerdictAlone) {
    struct Case {
        const char* name;
        TPieceCode piece;
        int flag;
    } const cases[] = {
        {"empty square", 0, 0}, {"own en-passant mark", 10, 0}, {"attack mark", 99, 0},
        {"pawn flag 2", 12, 2}, {"pawn flag 255", 43, 255},
    };
    for (const auto& tc : cases) {
        auto s = std::make_unique<GameState>();
        s->PawnStartFlags[tc.piece] = static_cast<std::uint8_t>(tc.flag);
        const TBoard b = BoardWith({{4, 5, tc.piece}});
        std::uint8_t verdict = 7, special = 7;
        PieceGeometry(b, *s, tc.piece, {4, 5}, {4, 4}, verdict, special);
        EXPECT_EQ(verdict, 7) << tc.name;
        EXPECT_EQ(special, 7) << tc.name;
    }
}

TEST(PieceMoveAllowed, UsesTheSquaresOfTheMoveCycle) {
    auto s = std::make_unique<GameState>();
    s->CurrentPly = 3;
    s->SideToMove = 1;
    s->KingSpecialRights[1] = 1;
    s->BoardHistory[3].at(4, 8) = 18;
    s->HoverSquare = {8, 1};
    std::uint8_t verdict = 0;

    // Nothing is picked: no source square to judge from.
    s->ClickPhase = 0;
    PieceMoveAllowed(*s, 18, verdict);
    EXPECT_EQ(verdict, 0);

    s->ClickPhase = 1;
    s->ClickSquares[1] = {4, 8};
    PieceMoveAllowed(*s, 18, verdict);
    EXPECT_EQ(verdict, 1);

    // In phase 2 the target is the square moved from.
    s->ClickPhase = 2;
    s->ClickSquares[2] = {7, 2};
    PieceMoveAllowed(*s, 18, verdict);
    EXPECT_EQ(verdict, 1);
    s->HoverSquare = {5, 4};
    PieceMoveAllowed(*s, 18, verdict);
    EXPECT_EQ(verdict, 0);
}

} // namespace
} // namespace tavlon
