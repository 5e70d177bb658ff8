// Moves carried out on a position and on its quarter turn must give quarter-turned results:
// the next board with its castling rook, en-passant marks and captures, the promoted piece,
// the start flags, the castling rights and the check flags. The same holds for a whole game.
#include "flow/game.h"
#include "port/nullport.h"
#include "quarter_turn.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tavlon::test {
namespace {

// A game driven as the window drives it. Its folder does not exist, so the autosave after
// each move fails at once and the port drops the message: thousands of moves write nothing.
struct Seat {
    struct Port : NullPort {
        int item = 0;
        int ChosenPromotionItem() const override { return item; }
    } port;
    Game game{port, "/nonexistent/tavlon-symmetry"};
    GameState& s = game.state();

    Seat() {
        game.FormCreate();
        game.mmNewClick();
    }
};

Square SquareAt(int offset) {
    return {offset / 8 + 1, offset % 8 + 1};
}

// --- The few places that know how the game is driven and where its state lives.

void ClickSquare(Seat& t, Square sq) {
    const BoardPoint at{true, sq, false};
    t.game.imgMouseMove(at);
    t.game.imgMouseUp(at, MouseButton::Left);
}

// The hover verdict on `sq` for the picked piece.
bool Accepted(const Seat& t, Square sq) {
    return t.game.JudgeTarget(sq).allowed;
}

void DropPick(Seat& t) {
    t.game.imgContextPopup();
}

// `pos` as the board of ply 1 of a started game, `side` to move, nothing picked.
void Install(Seat& t, const Position& pos, int side) {
    GameState& s = t.s;
    InstallRules(pos, s);
    s.LastPly = 1;
    s.SideToMove = static_cast<std::uint8_t>(side);
    for (int p = 1; p <= 4; ++p)
        s.CheckFlags[p] = pos.checkFlags[p];
    s.ClickPhase = 0;
    s.SelectedPiece = 0;
    s.PromotionPending = 0;
    for (auto& m : s.CoveredPassMarks)
        m = 0;
}

// The position on the board in play, with its flags.
Position Current(const Seat& t) {
    const GameState& s = t.s;
    Position pos;
    pos.board = s.Board();
    for (int p = 1; p <= 4; ++p) {
        pos.rights[p] = s.KingSpecialRights[p];
        pos.checkFlags[p] = s.CheckFlags[p];
        for (int k = 1; k <= 4; ++k)
            pos.pawnFlags[p * 10 + k] = s.PawnStartFlags[p * 10 + k];
    }
    return pos;
}

// Picks `from`, clicks `to` and, when a pawn reached its promotion line, chooses `item`
// (0 bishop, 1 knight, 2 rook). True when the move asked for a choice.
bool CarryOut(Seat& t, Square from, Square to, int item) {
    ClickSquare(t, from);
    ClickSquare(t, to);
    if (!t.s.PromotionPending)
        return false;
    t.port.item = item;
    t.game.bInsertOkClick();
    return true;
}

// --- The checks.

std::string Describe(const Case& tc, int side, Square from, Square to, int item) {
    return tc.Name() + ", player " + std::to_string(side) + " " + SquareName(from.c, from.r) +
           SquareName(to.c, to.r) + (item >= 0 ? ", choice " + std::to_string(item) : "");
}

// How often the moves met each rule step.
struct Tally {
    int promotions = 0, marksLeft = 0, passesTaken = 0, rookJumps = 0;
};

// Every move the hover verdict accepts for the piece on `from`, with each choice where a
// pawn promotes, carried out on the position and on its quarter turn.
void CarryOutEveryMove(Seat& a, Seat& b, const Case& tc, int side, Square from, Tally& tally) {
    const Position turned = Turn(tc.pos);
    Install(a, tc.pos, side);
    Install(b, turned, NextPlayer(side));
    ClickSquare(a, from);
    ClickSquare(b, Turn(from));
    std::vector<Square> targets;
    for (int i = 0; i < 64; ++i) {
        const Square to = SquareAt(i);
        ASSERT_EQ(Accepted(a, to), Accepted(b, Turn(to))) << Describe(tc, side, from, to, -1);
        if (Accepted(a, to))
            targets.push_back(to);
    }
    const TBoard& before = tc.pos.board;
    const TPieceCode piece = before.at(from);
    for (const Square to : targets)
        for (int item = 0; item < 3; ++item) {
            Install(a, tc.pos, side);
            Install(b, turned, NextPlayer(side));
            const bool promoted = CarryOut(a, from, to, item);
            CarryOut(b, Turn(from), Turn(to), item);
            const std::string what = Describe(tc, side, from, to, promoted ? item : -1);
            ASSERT_EQ(a.s.CurrentPly, 2) << what;
            ASSERT_EQ(a.s.SideToMove, NextPlayer(side)) << what;
            ASSERT_EQ(b.s.SideToMove, NextPlayer(NextPlayer(side))) << what;
            ASSERT_EQ(Turn(Current(a)), Current(b)) << what;

            const TBoard& after = a.s.Board();
            const Square corner = kHomeSquares[side].corner;
            tally.promotions += promoted;
            tally.passesTaken +=
                IsPawn(piece) && IsPassMark(before.at(to)) && OwnerOf(before.at(to)) != side;
            for (int i = 0; i < 64; ++i)
                tally.marksLeft += after.cells[i] == side * 10 && before.cells[i] != side * 10;
            tally.rookJumps +=
                IsKing(piece) && before.at(corner) == side * 10 + 7 && after.at(corner) == kEmpty;
            if (!promoted)
                break;
        }
}

TEST(QuarterTurn, EveryAcceptedMoveCarriedOut) {
    Seat a, b;
    Tally tally;
    for (const Case& tc : Cases(80, 100))
        for (int side = 1; side <= 4; ++side)
            for (int i = 0; i < 64; ++i) {
                const TPieceCode piece = tc.pos.board.cells[i];
                if (OwnerOf(piece) == side && KindOf(piece) != 0)
                    CarryOutEveryMove(a, b, tc, side, SquareAt(i), tally);
                if (HasFatalFailure())
                    return;
            }
    // The positions do reach every rule step.
    EXPECT_GT(tally.promotions, 100);
    EXPECT_GT(tally.marksLeft, 20);
    EXPECT_GT(tally.passesTaken, 20);
    EXPECT_GT(tally.rookJumps, 20);
}

// A seeded game from the start position, and the same game turned: the start position
// turned a quarter with every move turned too. Promotions never give a player a second rook
// or bishop (the king's marks would take only the last-found one).
TEST(QuarterTurn, WholeRandomGames) {
    const std::uint32_t seed = BaseSeed(20260101u);
    Seat a, b;
    for (std::uint32_t game = 0; game < 12; ++game) {
        Dice dice(seed + game);
        const std::string what = "game of seed " + std::to_string(seed + game);
        Install(a, StartPosition(), 1);
        Install(b, Turn(StartPosition()), 2);
        int ply = 1;
        for (; ply <= 150; ++ply) {
            // A random piece of the player to move that has somewhere to go, then a random
            // square it may go to.
            const int side = a.s.SideToMove;
            std::vector<Square> sources, targets;
            for (int i = 0; i < 64; ++i)
                if (OwnerOf(a.s.Board().cells[i]) == side && KindOf(a.s.Board().cells[i]) != 0)
                    sources.push_back(SquareAt(i));
            Square from{};
            while (targets.empty() && !sources.empty()) {
                const auto pick = sources.begin() + dice.Below(static_cast<int>(sources.size()));
                from = *pick;
                sources.erase(pick);
                ClickSquare(a, from);
                for (int i = 0; i < 64; ++i)
                    if (Accepted(a, SquareAt(i)))
                        targets.push_back(SquareAt(i));
                DropPick(a);
            }
            if (targets.empty())
                break;
            const Square to =
                targets[static_cast<std::size_t>(dice.Below(static_cast<int>(targets.size())))];
            int item = dice.Below(3);
            for (int i = 0; i < 64; ++i)
                if (item != 1 && a.s.Board().cells[i] == side * 10 + 5 + item)
                    item = 1;
            CarryOut(a, from, to, item);
            CarryOut(b, Turn(from), Turn(to), item);
            ASSERT_EQ(a.s.CurrentPly, ply + 1) << what;
            ASSERT_EQ(Turn(Current(a)), Current(b))
                << what << ", ply " << ply << " " << SquareName(from.c, from.r)
                << SquareName(to.c, to.r);
        }
        for (int p = 1; p <= ply; ++p)
            ASSERT_EQ(Turn(a.s.BoardHistory[p]), b.s.BoardHistory[p]) << what << ", ply " << p;
    }
}

} // namespace
} // namespace tavlon::test
