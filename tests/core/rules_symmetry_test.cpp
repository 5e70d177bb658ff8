// The armies stand in a pinwheel: turning a position a quarter clockwise and handing every
// piece to the next player must turn every verdict of the rules the same way.
#include "quarter_turn.h"
#include "rules/attacks.h"
#include "rules/incheck.h"
#include "rules/moves.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace tavlon {
namespace {

using test::SquareName;
using test::StartBoard;
using test::Turn;

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

Move Turn(const Move& m) {
    return {Turn(m.from), Turn(m.to), m.promotion};
}

// The position with `side` to move.
Position WithSide(Position pos, int side) {
    pos.side = static_cast<std::uint8_t>(side);
    return pos;
}

TEST(QuarterTurn, LegalMovesOfEveryPlayer) {
    int kingMoves = 0;
    for (const test::Case& tc : Cases()) {
        SCOPED_TRACE(tc.Name());
        for (int side = 1; side <= 4; ++side) {
            const Position pos = WithSide(tc.pos, side);
            MoveList moves, turned;
            ListLegalMoves(pos, moves);
            ListLegalMoves(Turn(pos), turned);
            ASSERT_EQ(moves.size, turned.size) << "player " << side;
            for (const Move& m : moves) {
                ASSERT_TRUE(turned.Contains(Turn(m)))
                    << "player " << side << " " << SquareName(m.from.c, m.from.r)
                    << SquareName(m.to.c, m.to.r);
                kingMoves += IsKing(pos.board.at(m.from));
            }
        }
    }
    EXPECT_GT(kingMoves, 0);
}

TEST(QuarterTurn, AttackMarksOfEveryRookAndBishop) {
    for (const test::Case& tc : Cases()) {
        SCOPED_TRACE(tc.Name());
        for (int p = 1; p <= 4; ++p) {
            const TBoard marked = WithAttackMarks(tc.pos.board, KingAttackMask(tc.pos.board, p));
            const TBoard turned = Turn(tc.pos.board);
            ASSERT_EQ(Turn(marked), WithAttackMarks(turned, KingAttackMask(turned, NextPlayer(p))))
                << "king of player " << p;
        }
    }
}

TEST(QuarterTurn, KingsInCheckAndMate) {
    int checks = 0, mates = 0;
    for (const test::Case& tc : Cases()) {
        SCOPED_TRACE(tc.Name());
        bool inCheck[5] = {}, inCheckT[5] = {};
        KingsInCheck(tc.pos.board, inCheck);
        KingsInCheck(Turn(tc.pos.board), inCheckT);
        for (int p = 1; p <= 4; ++p) {
            ASSERT_EQ(inCheck[p], inCheckT[NextPlayer(p)]) << "king of player " << p;
            const bool mated = IsMated(WithSide(tc.pos, p));
            ASSERT_EQ(mated, IsMated(Turn(WithSide(tc.pos, p)))) << "player " << p << " to move";
            checks += inCheck[p];
            mates += mated;
        }
    }
    EXPECT_GT(checks, 0);
    EXPECT_GT(mates, 0);
}

// Every listed move carried out on a position and on its quarter turn gives quarter-turned
// positions: the next board with its castling rook, en-passant marks and captures, the
// promoted piece, the start flags, the castling rights and the turn.
TEST(QuarterTurn, EveryListedMoveCarriedOut) {
    int promotions = 0, marksLeft = 0, passesTaken = 0, rookJumps = 0;
    for (const test::Case& tc : test::Cases(80, 100))
        for (int side = 1; side <= 4; ++side) {
            const Position pos = WithSide(tc.pos, side);
            MoveList moves;
            ListLegalMoves(pos, moves);
            for (const Move& m : moves) {
                Position after = pos, turned = Turn(pos);
                const MoveResult r = CarryOut(after, m);
                const MoveResult rt = CarryOut(turned, Turn(m));
                ASSERT_EQ(Turn(after), turned)
                    << tc.Name() << ", player " << side << " " << SquareName(m.from.c, m.from.r)
                    << SquareName(m.to.c, m.to.r) << " choice " << int{m.promotion};
                ASSERT_EQ(Turn(r.placed), rt.placed);
                ASSERT_EQ(Turn(r.captured), rt.captured);
                promotions += r.promotion;
                passesTaken += r.enPassant;
                rookJumps += r.rookFrom.c != 0;
                for (int i = 0; i < 64; ++i)
                    marksLeft += after.board.cells[i] == CodeOf(side, kPassMark) &&
                                 pos.board.cells[i] != CodeOf(side, kPassMark);
            }
        }
    // The positions do reach every rule step.
    EXPECT_GT(promotions, 100);
    EXPECT_GT(marksLeft, 20);
    EXPECT_GT(passesTaken, 20);
    EXPECT_GT(rookJumps, 20);
}

} // namespace
} // namespace tavlon
