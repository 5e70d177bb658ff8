#include "model/startpos.h"

#include <gtest/gtest.h>

#include <memory>

namespace tavlon {
namespace {

TEST(StartPosition, NewGameLayoutMatchesThePinwheel) {
    auto s = std::make_unique<GameState>();
    SetStandardLayout(*s);
    s->BoardHistory[1].at(5, 5) = 99; // whatever board 1 held before is gone
    PlacePieces(*s, 1, 2);
    // Rows top to bottom, columns left to right.
    const int expected[8][8] = {
        {25, 21, 0, 0, 38, 37, 36, 35}, {26, 22, 0, 0, 31, 32, 33, 34}, {27, 23, 0, 0, 0, 0, 0, 0},
        {28, 24, 0, 0, 0, 0, 0, 0},     {0, 0, 0, 0, 0, 0, 41, 48},     {0, 0, 0, 0, 0, 0, 42, 47},
        {11, 12, 13, 14, 0, 0, 43, 46}, {15, 16, 17, 18, 0, 0, 44, 45},
    };
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 8; ++c)
            EXPECT_EQ(s->BoardHistory[1].at(c, r), expected[r - 1][c - 1]) << c << "," << r;
    DeriveStartFlags(*s, 1);
    for (int p = 1; p <= 4; ++p) {
        EXPECT_EQ(s->Flags[1].kingRights[p], 1);
        for (int k = 1; k <= 4; ++k)
            EXPECT_EQ(int{s->Flags[1].PawnMayDoubleStep(p * 10 + k)}, 1);
    }
}

TEST(StartPosition, KingsOnlyAndEmptyModes) {
    auto s = std::make_unique<GameState>();
    SetStandardLayout(*s);
    PlacePieces(*s, 1, 2);
    PlacePieces(*s, 1, 1);
    int pieces = 0;
    for (auto code : s->BoardHistory[1].cells)
        pieces += code != 0;
    EXPECT_EQ(pieces, 4);
    EXPECT_EQ(s->BoardHistory[1].at(4, 8), 18);
    EXPECT_EQ(s->BoardHistory[1].at(1, 4), 28);
    EXPECT_EQ(s->BoardHistory[1].at(5, 1), 38);
    EXPECT_EQ(s->BoardHistory[1].at(8, 5), 48);
    PlacePieces(*s, 1, 7); // unknown mode does nothing
    EXPECT_EQ(s->BoardHistory[1].at(4, 8), 18);
    PlacePieces(*s, 1, 0);
    EXPECT_EQ(s->BoardHistory[1], TBoard{});
}

struct RightsCase {
    const char* name;
    Square king;
    Square rook;
    int expected;
};

TEST(DerivedFlags, WhiteKingSpecialRights) {
    const RightsCase cases[] = {
        {"rook in corner", {4, 8}, {1, 8}, 2},
        {"rook at home", {4, 8}, {3, 8}, 1},
        {"rook elsewhere", {4, 8}, {5, 8}, 0},
        {"king off home", {5, 8}, {3, 8}, 0},
    };
    for (const auto& tc : cases) {
        auto s = std::make_unique<GameState>();
        s->BoardHistory[1].at(tc.king) = 18;
        s->BoardHistory[1].at(tc.rook) = 17;
        DeriveStartFlags(*s, 1);
        EXPECT_EQ(s->Flags[1].kingRights[1], tc.expected) << tc.name;
    }
}

TEST(DerivedFlags, PawnFlagsFollowTheWholeStartLine) {
    auto s = std::make_unique<GameState>();
    s->Flags[1].SetPawn(14, 1); // absent from the board: keeps its value
    s->Flags[1].SetPawn(11, 0);
    s->BoardHistory[1].at(7, 7) = 11; // White on row 7, far from its start square
    s->BoardHistory[1].at(2, 6) = 12; // White on row 6
    s->BoardHistory[1].at(2, 5) = 21; // Red on column 2
    s->Flags[1].SetPawn(12, 1);
    DeriveStartFlags(*s, 1);
    EXPECT_EQ(int{s->Flags[1].PawnMayDoubleStep(11)}, 1);
    EXPECT_EQ(int{s->Flags[1].PawnMayDoubleStep(12)}, 0);
    EXPECT_EQ(int{s->Flags[1].PawnMayDoubleStep(21)}, 1);
    EXPECT_EQ(int{s->Flags[1].PawnMayDoubleStep(14)}, 1);
    // An empty board: no rights, flags untouched.
    PlyFlags flags = s->Flags[1];
    DeriveStartFlags(TBoard{}, flags);
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(flags.kingRights[p], 0);
    EXPECT_TRUE(flags.PawnMayDoubleStep(11));
}

TEST(StartUpReset, KeepsLastPlyAndLaterBoards) {
    auto s = std::make_unique<GameState>();
    s->LastPly = 7;
    s->CurrentPly = 0;
    s->BoardHistory[0].at(1, 1) = 18;
    s->BoardHistory[1].at(1, 1) = 28;
    s->CheckFlags[3] = 3;
    s->SideToMove = 3;
    StartUpReset(*s);
    EXPECT_EQ(s->SideToMove, 1);
    EXPECT_EQ(s->CurrentPly, 0);
    EXPECT_EQ(s->LastPly, 7);
    EXPECT_EQ(s->BoardHistory[0], TBoard{});
    EXPECT_EQ(s->BoardHistory[1].at(1, 1), 28);
    EXPECT_EQ(s->CheckFlags[3], 0);
}

TEST(Codes, TurnOrderAndOwnership) {
    EXPECT_EQ(NextPlayer(4), 1);
    EXPECT_EQ(PrevPlayer(1), 4);
    EXPECT_EQ(PrevPlayer(3), 2);
    EXPECT_EQ(OwnerOf(99), 9);
    EXPECT_EQ(OwnerOf(30), 3);
    TBoard b;
    b.at(2, 1) = 42;
    EXPECT_EQ(b.cells[8], 42); // (2, 1) is the ninth byte
}

} // namespace
} // namespace tavlon
