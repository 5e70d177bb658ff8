// Computer seats in the game: people never move for them, undo goes back to a person's turn,
// a seat without a move passes, the score is what the captures were worth, and a game with
// an end stops after its last round.
#include "quarter_turn.h"
#include "rules/moves.h"
#include "table.h"

#include <gtest/gtest.h>

namespace tavlon::test {
namespace {

Players ComputersAfterWhite() {
    Players p;
    p.level[2] = p.level[3] = p.level[4] = 2;
    return p;
}

// Plays the first listed move of each computer until a person is to move.
void ComputersPlay(Table& t) {
    while (t.game.ComputerToMove() != 0) {
        MoveList moves;
        ListLegalMoves(t.s.Current(), moves);
        ASSERT_GT(moves.size, 0);
        ASSERT_TRUE(t.game.PlayComputerMove(moves.moves[0]));
    }
}

TEST(ComputerSeats, PeopleNeverMoveForThemAndUndoGoesBackToAPersonsTurn) {
    Table t;
    t.game.mmNewClick();
    t.game.SetPlayers(ComputersAfterWhite());
    EXPECT_EQ(t.game.ComputerToMove(), 0); // White is a person
    t.Play("D2D4");
    EXPECT_EQ(t.game.ComputerToMove(), 2);
    // Red's pieces cannot be picked by the person at the table, nor typed.
    t.Click(At("B7"));
    EXPECT_EQ(t.in.ClickPhase, 0);
    EXPECT_EQ(t.port.status, texts::kComputerMoves);
    t.port.input = "b7b5";
    t.game.bbPlayClick();
    EXPECT_EQ(t.s.CurrentPly, 2);
    // Only a listed move is played for the computer.
    EXPECT_FALSE(t.game.PlayComputerMove({At("B7"), At("B3"), 0}));
    ComputersPlay(t);
    ASSERT_EQ(t.s.CurrentPly, 5);
    t.Play("D4D5");
    ComputersPlay(t);
    ASSERT_EQ(t.s.CurrentPly, 9);

    t.game.mmUndoClick(); // back over the three computers' moves to White's
    EXPECT_EQ(t.s.CurrentPly, 5);
    EXPECT_EQ(t.s.SideToMove, 1);
    EXPECT_FALSE(t.game.Paused());
    t.game.mmForwardClick(); // a computer's turn: the computers wait to be let go
    EXPECT_TRUE(t.game.Paused());
    EXPECT_EQ(t.game.ComputerToMove(), 0);
    EXPECT_EQ(t.s.LastPly, 9) << "nothing the player did not ask for cuts the redo line";
    t.game.mmPauseClick();
    EXPECT_EQ(t.game.ComputerToMove(), 2);
}

TEST(ComputerSeats, ASeatWithoutAMovePasses) {
    Table t;
    // Red's lone king in its corner: A7, B7 and B8 lie on a White rook's file and a Green
    // rook's rank, and nothing stands next to it to take.
    TBoard b = KingsAtHome();
    b.at(At("A5")) = 0;
    b.at(At("A8")) = 28;
    b.at(At("B1")) = 17;
    b.at(At("H7")) = 37;
    t.Setup(b);
    Players p;
    p.level[2] = 1;
    t.game.SetPlayers(p);
    t.Play("D1D2");
    MoveList moves;
    ListLegalMoves(t.s.Current(), moves);
    ASSERT_EQ(moves.size, 0) << "the position must leave Red no move";
    EXPECT_FALSE(t.game.PlayComputerMove({At("A8"), At("A7"), 0}));
    ASSERT_TRUE(t.game.PassComputerTurn());
    EXPECT_EQ(t.s.CurrentPly, 3);
    EXPECT_EQ(t.s.SideToMove, 3);
    EXPECT_EQ(t.s.BoardHistory[3], t.s.BoardHistory[2]);
    EXPECT_EQ(t.port.list.back(), "2. ----");
    EXPECT_NE(t.port.status.find("красные"), std::string::npos);
}

// The score along the line equals what each move's captures were worth as the core carried
// them out, over seeded random games; a game of two rounds ends after eight moves.
TEST(ComputerSeats, TheScoreIsWhatTheCapturesWereWorth) {
    const std::uint32_t seed = BaseSeed(20261210u);
    for (std::uint32_t game = 0; game < 6; ++game) {
        Dice dice(seed + game);
        Table t;
        t.game.mmNewClick();
        Position pos = StartPosition();
        int expected[5] = {};
        for (int ply = 1; ply <= 120; ++ply) {
            MoveList moves;
            ListLegalMoves(pos, moves);
            if (moves.size == 0)
                break;
            const Move m = moves.moves[dice.Below(moves.size)];
            const int mover = pos.side;
            expected[mover] += PieceValue(CarryOut(pos, m).captured);
            t.Click(m.from);
            t.Click(m.to);
            if (t.in.PromotionPending) {
                t.port.promotionItem = m.promotion - kBishop;
                t.game.bInsertOkClick();
            }
        }
        for (int p = 1; p <= 4; ++p)
            EXPECT_EQ(t.port.glance.scores[p], expected[p])
                << "seed " << seed + game << " player " << p;
    }
}

TEST(ComputerSeats, AGameWithAnEndStopsAfterItsLastRound) {
    Table t;
    t.game.mmNewClick();
    Players p;
    p.rounds = 1;
    t.game.SetPlayers(p);
    for (const char* move : {"B1A3", "A7C8", "G8H6"})
        t.Play(move);
    EXPECT_FALSE(t.game.GameOver());
    t.Play("H2F1");
    EXPECT_TRUE(t.game.GameOver());
    EXPECT_EQ(t.game.Winner(), 5) << "nobody took anything: a tie";
    ASSERT_EQ(t.port.messages.size(), 1u);
    EXPECT_EQ(t.port.messages[0], t.game.WinnerText(5));
    t.Click(At("D2"));
    EXPECT_EQ(t.in.ClickPhase, 0) << "no further move";
    t.game.mmUndoClick();
    EXPECT_FALSE(t.game.GameOver());
    t.Play("G4F4");
}

} // namespace
} // namespace tavlon::test
