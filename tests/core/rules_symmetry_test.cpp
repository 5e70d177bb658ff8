// The armies stand in a pinwheel: turning a position a quarter clockwise and handing every
// piece to the next player must turn every verdict of the rules the same way.
#include "flow/mate.h"
#include "rules/attacks.h"
#include "rules/check.h"
#include "rules/geometry.h"
#include "rules/incheck.h"
#include "rules_boards.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace tavlon {
namespace {

using test::StartBoard;

Square Turn(Square s) {
    return {9 - s.r, s.c};
}

int Offset(Square s) {
    return (s.c - 1) * 8 + (s.r - 1);
}

// A piece or an en-passant mark goes to the next player; 0 and 99 stay.
TPieceCode Turn(TPieceCode code) {
    if (!IsPieceOwner(OwnerOf(code)))
        return code;
    return static_cast<TPieceCode>(NextPlayer(OwnerOf(code)) * 10 + KindOf(code));
}

TBoard Turn(const TBoard& b) {
    TBoard t;
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            t.at(Turn(Square{c, r})) = Turn(b.at(c, r));
    return t;
}

// A board with the flags the rules read.
struct Position {
    TBoard board;
    std::uint8_t pawnFlags[50] = {};
    std::uint8_t rights[5] = {};
};

// Installs `pos` in `s`, or its quarter turn: the flags go to the next player with the pieces.
void Install(const Position& pos, bool turned, GameState& s) {
    s.CurrentPly = 1;
    s.Board() = turned ? Turn(pos.board) : pos.board;
    for (int p = 1; p <= 4; ++p) {
        const int q = turned ? NextPlayer(p) : p;
        s.KingSpecialRights[q] = pos.rights[p];
        for (int k = 1; k <= 4; ++k)
            s.PawnStartFlags[q * 10 + k] = pos.pawnFlags[p * 10 + k];
    }
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

// Random positions under a fixed seed: one king per player, at most one rook, bishop and
// knight (the last-found rule for a second rook or bishop is not symmetric), some pawns and
// some marks.
class RandomPositions {
  public:
    explicit RandomPositions(std::uint32_t seed) : state_(seed) {}

    int Below(int n) {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(n));
    }

    Position Next() {
        Position pos;
        TBoard& b = pos.board;
        for (int p = 1; p <= 4; ++p) {
            Drop(b, p * 10 + 8);
            for (int kind = 5; kind <= 7; ++kind)
                if (Below(4) != 0)
                    Drop(b, p * 10 + kind);
            for (int k = 1; k <= 4; ++k) {
                if (Below(2) != 0)
                    Drop(b, p * 10 + k);
                pos.pawnFlags[p * 10 + k] = static_cast<std::uint8_t>(Below(2));
            }
            pos.rights[p] = static_cast<std::uint8_t>(Below(3));
        }
        for (int marks = Below(5); marks > 0; --marks)
            Drop(b, Below(3) == 0 ? 99 : 10 * (1 + Below(4)));
        // Kings at home with the knight's square free now and then, for the special move.
        if (Below(2) != 0) {
            const int p = 1 + Below(4);
            for (auto& code : b.cells)
                if (code == p * 10 + 8)
                    code = 0;
            b.at(kHomeSquares[p].king) = static_cast<TPieceCode>(p * 10 + 8);
            b.at(kHomeSquares[p].knight) = 0;
        }
        return pos;
    }

  private:
    void Drop(TBoard& b, int code) {
        int c = 0, r = 0;
        do {
            c = 1 + Below(8);
            r = 1 + Below(8);
        } while (b.at(c, r) != 0);
        b.at(c, r) = static_cast<TPieceCode>(code);
    }

    std::uint32_t state_;
};

constexpr int kPositions = 300;

// The start position, then the random ones.
std::vector<Position> Positions() {
    std::vector<Position> all(1);
    all[0].board = StartBoard();
    for (int p = 1; p <= 4; ++p) {
        all[0].rights[p] = 1;
        for (int k = 1; k <= 4; ++k)
            all[0].pawnFlags[p * 10 + k] = 1;
    }
    RandomPositions random(20260101u);
    for (int i = 0; i < kPositions; ++i)
        all.push_back(random.Next());
    return all;
}

TEST(QuarterTurn, GeometryOfEveryPiece) {
    auto s = std::make_unique<GameState>();
    auto turned = std::make_unique<GameState>();
    int specialMoves = 0;
    for (const Position& pos : Positions()) {
        Install(pos, false, *s);
        Install(pos, true, *turned);
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
    for (const Position& pos : Positions()) {
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
    for (const Position& pos : Positions()) {
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
    for (const Position& pos : Positions()) {
        Install(pos, false, *s);
        Install(pos, true, *turned);
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
