// Each player's last move, read back from the boards as the game goes on and comes back.
#include "model/lastmoves.h"
#include "table.h"

namespace tavlon::test {
namespace {

std::string Name(Square s) {
    return {static_cast<char>('A' + s.c - 1), static_cast<char>('0' + 9 - s.r)};
}

// "C2C4" per player, "-" for none, players 1..4 separated by spaces.
std::string LastMoves(const GameState& s) {
    PlayerMove moves[5];
    DeriveLastMoves(s.BoardHistory, s.CurrentPly, s.SideToMove, moves);
    std::string out;
    for (int p = 1; p <= 4; ++p) {
        out += p > 1 ? " " : "";
        out += moves[p].Known() ? Name(moves[p].from) + Name(moves[p].to) : "-";
    }
    return out;
}

// One move of each player with a rule step each, then a move typed in White's turn:
// a double step leaving a mark, the en-passant capture onto it, a promotion, the king's
// step with the castling rook's jump, and a Brown rook moved by White's keyboard.
TEST(LastMoves, FollowTheGameThroughUndoRedoAndOpen) {
    Table t;
    TBoard b = KingsAtHome();
    b.at(At("C2")) = 13; // White pawn
    b.at(At("B4")) = 21; // Red pawn beside its arrival square
    b.at(At("G2")) = 31; // Green pawn one step from its last line
    b.at(At("H1")) = 47; // Brown rook in the corner; H2 free: the king's special move
    t.Setup(b);
    EXPECT_EQ(LastMoves(t.s), "- - - -");

    t.Play("C2C4");
    ASSERT_EQ(t.Code("C3"), 10);
    t.Play("B4C3");
    ASSERT_EQ(t.Code("C4"), 0);
    t.port.promotionItem = 2;
    t.Click(At("G2"));
    t.Click(At("G1"));
    t.game.bInsertOkClick();
    ASSERT_EQ(t.Code("G1"), 37);
    t.Play("H4H5");
    ASSERT_EQ(t.Code("H3"), 47);
    EXPECT_EQ(LastMoves(t.s), "C2C4 B4C3 G2G1 H4H5");

    t.port.input = "h3h2";
    t.game.bbPlayClick();
    const std::string final = "H3H2 B4C3 G2G1 H4H5";
    EXPECT_EQ(LastMoves(t.s), final);

    t.Click(At("A5")); // Red's king picked: its marks on the board change nothing
    ASSERT_EQ(t.in.ClickPhase, 1);
    EXPECT_EQ(LastMoves(t.s), final);

    t.game.mmUndoClick();
    EXPECT_EQ(LastMoves(t.s), "C2C4 B4C3 G2G1 H4H5");
    t.game.mmUndoClick();
    EXPECT_EQ(LastMoves(t.s), "C2C4 B4C3 G2G1 -");
    t.game.mmForwardClick();
    t.game.mmForwardClick();
    EXPECT_EQ(LastMoves(t.s), final);

    const std::string file = t.dir.str() + "/line.tvl";
    ASSERT_TRUE(t.game.WriteGameFile(file));
    Table opened;
    opened.game.mmNewClick();
    ASSERT_TRUE(opened.game.LoadGameFile(file));
    EXPECT_EQ(LastMoves(opened.s), final);
}

TEST(LastMoves, TypedMovesThatChangeOneSquareOrNone) {
    TBoard before = KingsAtHome();
    before.at(At("C3")) = 17;
    TBoard after = before;
    after.at(At("C3")) = 0; // "C3C3": the square ends empty
    EXPECT_EQ(MoveBetween(before, after), (PlayerMove{At("C3"), At("C3")}));
    EXPECT_FALSE(MoveBetween(before, before).Known()); // an empty square onto an empty one
}

} // namespace
} // namespace tavlon::test
