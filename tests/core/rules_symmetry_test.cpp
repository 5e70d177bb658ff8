// The armies stand in a pinwheel: turning a position a quarter clockwise and handing every
// piece to the next player must turn every verdict of the rules the same way.
#include "flow/mate.h"
#include "quarter_turn.h"
#include "rules/attacks.h"
#include "rules/check.h"
#include "rules/geometry.h"
#include "rules/incheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace tavlon {
namespace {

using test::Position;
using test::StartBoard;
using test::Turn;

int Offset(Square s) {
    return (s.c - 1) * 8 + (s.r - 1);
}

TEST(QuarterTurn, StartPositionTurnsOntoItselfButForPawnNumbers) {
    const TBoard start = StartBoard();
    const TBoard turned = Turn(start);
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r) {
            const TPieceCode before = start.at(c, r);
            const TPieceCode after = turned.at(Turn(Square{c, r}));
            const TPieceCode there = start.at(Turn(Square{c, r}));
            if (!IsPawn(before)) {
                EXPECT_EQ(after, there) << c << "," << r;
                continue;
            }
            // White and Green number their pawns as the next army does; Red and Brown count
            // theirs from the other end of the line.
            ASSERT_TRUE(IsPawn(there));
            EXPECT_EQ(OwnerOf(there), OwnerOf(after));
            const int k = KindOf(before);
            EXPECT_EQ(KindOf(there), OwnerOf(before) % 2 == 1 ? k : 5 - k) << c << "," << r;
        }
    EXPECT_EQ(Turn(Turn(Turn(Turn(start)))), start);
}

// The start position, random positions and positions built around the rule steps; a
// failure names the position's seed.
std::vector<test::Case> Cases() {
    return test::Cases(300, 100);
}

TEST(QuarterTurn, GeometryOfEveryPiece) {
    auto s = std::make_unique<GameState>();
    auto turned = std::make_unique<GameState>();
    int specialMoves = 0;
    for (const test::Case& tc : Cases()) {
        SCOPED_TRACE(tc.Name());
        const Position& pos = tc.pos;
        test::InstallRules(pos, *s);
        test::InstallRules(Turn(pos), *turned);
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 8; ++r) {
                const TPieceCode piece = pos.board.at(c, r);
                if (!IsPieceOwner(OwnerOf(piece)) || KindOf(piece) == 0)
                    continue;
                s->SideToMove = static_cast<std::uint8_t>(OwnerOf(piece));
                turned->SideToMove = static_cast<std::uint8_t>(NextPlayer(OwnerOf(piece)));
                for (int hc = 1; hc <= 8; ++hc)
                    for (int hr = 1; hr <= 8; ++hr) {
                        std::uint8_t verdict = 0, special = 0, verdictT = 0, specialT = 0;
                        PieceGeometry(s->Board(), *s, piece, {c, r}, {hc, hr}, verdict, special);
                        PieceGeometry(turned->Board(), *turned, Turn(piece), Turn(Square{c, r}),
                                      Turn(Square{hc, hr}), verdictT, specialT);
                        ASSERT_EQ(verdict, verdictT)
                            << int{piece} << " from " << c << "," << r << " to " << hc << "," << hr;
                        ASSERT_EQ(special, specialT) << int{piece} << " at " << c << "," << r;
                        specialMoves += special;
                    }
            }
    }
    EXPECT_GT(specialMoves, 0); // the positions do reach the king's special move
}

TEST(QuarterTurn, AttackMarksForEveryKing) {
    for (const test::Case& tc : Cases()) {
        SCOPED_TRACE(tc.Name());
        const Position& pos = tc.pos;
        for (int p = 1; p <= 4; ++p) {
            TBoard b = pos.board;
            TBoard t = Turn(b);
            TPieceCode covered[64] = {}, coveredT[64] = {};
            MarkAttackedSquares(b, static_cast<TPieceCode>(p * 10 + 8), covered);
            MarkAttackedSquares(t, static_cast<TPieceCode>(NextPlayer(p) * 10 + 8), coveredT);
            ASSERT_EQ(Turn(b), t) << "king of player " << p;
            for (int c = 1; c <= 8; ++c)
                for (int r = 1; r <= 8; ++r)
                    ASSERT_EQ(Turn(covered[Offset({c, r})]), coveredT[Offset(Turn(Square{c, r}))]);
        }
    }
}

TEST(QuarterTurn, CheckFlagsForEveryPieceAndTarget) {
    for (const test::Case& tc : Cases()) {
        SCOPED_TRACE(tc.Name());
        const Position& pos = tc.pos;
        const TBoard turned = Turn(pos.board);
        for (int side = 1; side <= 4; ++side)
            for (int code = 11; code <= 48; ++code) {
                const auto piece = static_cast<TPieceCode>(code);
                for (int c = 1; c <= 8; ++c)
                    for (int r = 1; r <= 8; ++r) {
                        std::uint8_t flags[5] = {}, flagsT[5] = {};
                        DetectCheckFlags(pos.board, piece, {c, r}, side, flags);
                        DetectCheckFlags(turned, Turn(piece), Turn(Square{c, r}), NextPlayer(side),
                                         flagsT);
                        for (int p = 1; p <= 4; ++p)
                            ASSERT_EQ(flags[p] != 0, flagsT[NextPlayer(p)] != 0)
                                << code << " at " << c << "," << r;
                    }
            }
    }
}

TEST(QuarterTurn, KingsInCheckAndMate) {
    auto s = std::make_unique<GameState>();
    auto turned = std::make_unique<GameState>();
    int checks = 0, mates = 0;
    for (const test::Case& tc : Cases()) {
        SCOPED_TRACE(tc.Name());
        test::InstallRules(tc.pos, *s);
        test::InstallRules(Turn(tc.pos), *turned);
        bool inCheck[5] = {}, inCheckT[5] = {};
        KingsInCheck(s->Board(), inCheck);
        KingsInCheck(turned->Board(), inCheckT);
        for (int p = 1; p <= 4; ++p) {
            ASSERT_EQ(inCheck[p], inCheckT[NextPlayer(p)]) << "king of player " << p;
            s->SideToMove = static_cast<std::uint8_t>(p);
            turned->SideToMove = static_cast<std::uint8_t>(NextPlayer(p));
            const bool mated = IsMated(*s);
            ASSERT_EQ(mated, IsMated(*turned)) << "player " << p << " to move";
            checks += inCheck[p];
            mates += mated;
        }
    }
    EXPECT_GT(checks, 0);
    EXPECT_GT(mates, 0);
}

} // namespace
} // namespace tavlon
