// Whole games clicked on the board from New game, checked against known positions.
#include "table.h"

namespace tavlon::test {
namespace {

// Each colour takes the next colour's pawn en passant; knights shuffle meanwhile.
const char* const kFourEnPassants[] = {
    "D2D4", "A7C8", "G8H6", "H2F1", // 1-4
    "D4D5", "B6D6", "H6G8", "F1H2", // Red's double step leaves its mark on C6
    "D5C6",                         // White takes en passant: D6 is emptied
    "B5D5", "G8H6", "H2F1", "B1A3", "D5E5",
    "F7F5", // Green's double step beside the Red pawn marks F6
    "F1H2", "A3B1",
    "E5F6", // Red takes en passant: F5 is emptied
    "E7E5", "H2F1", "B1A3", "C8A7", "E5E4",
    "G3E3", // Brown's double step beside the Green pawn marks F3
    "A3B1", "A7C8",
    "E4F3", // Green takes en passant: E3 is emptied
    "G4E4", "B1A3", "C8A7", "H6G8", "E4D4",
    "C2C4", // White's double step beside the Brown pawn marks C3
    "A7C8", "G8H6",
    "D4C3", // Brown takes en passant: C4 is emptied
};

TEST(ScriptedGame, EachColourTakesEnPassantAndUndoRedoWalkTheWholeLine) {
    Table t;
    t.game.mmNewClick();
    const TBoard start = t.s.Board();
    int ply = 1;
    for (const char* move : kFourEnPassants) {
        t.Play(move);
        ++ply;
        // Each double step beside a pawn that could take it leaves its mark.
        const std::string m = move;
        const char* mark = m == "B6D6"   ? "C6"
                           : m == "F7F5" ? "F6"
                           : m == "G3E3" ? "F3"
                           : m == "C2C4" ? "C3"
                                         : nullptr;
        if (mark) {
            EXPECT_EQ(t.Code(mark), OwnerOf(t.s.BoardHistory[ply - 1].at(At(move))) * 10) << move;
        }
    }
    ASSERT_EQ(t.s.CurrentPly, 37);
    EXPECT_EQ(t.s.SideToMove, 1);
    // The takers stand on the marks; the passed pawns are gone.
    EXPECT_EQ(t.Code("C6"), 14);
    EXPECT_EQ(t.Code("F6"), 24);
    EXPECT_EQ(t.Code("F3"), 31);
    EXPECT_EQ(t.Code("C3"), 41);
    for (const char* gone : {"D6", "F5", "E3", "C4"})
        EXPECT_EQ(t.Code(gone), 0) << gone;
    int pieces = 0;
    for (auto code : t.s.Board().cells)
        pieces += code != 0;
    EXPECT_EQ(pieces, 28);
    EXPECT_EQ(t.port.list.size(), 36u);
    EXPECT_EQ(t.port.list.front(), "1. D2D4");
    EXPECT_EQ(t.port.list.back(), "36. D4C3");
    EXPECT_EQ(t.port.drawnBoard, t.s.Board());

    const TBoard end = t.s.Board();
    for (int i = 0; i < 36; ++i)
        t.game.bBackStepClick();
    EXPECT_EQ(t.s.CurrentPly, 1);
    EXPECT_EQ(t.s.Board(), start);
    EXPECT_EQ(t.port.drawnBoard, start);
    EXPECT_TRUE(t.port.list.empty());
    EXPECT_FALSE(t.port.isEnabled(Control::bBackStep));
    EXPECT_TRUE(t.port.isEnabled(Control::bForward));
    t.game.bBackStepClick(); // nothing before ply 1
    EXPECT_EQ(t.s.CurrentPly, 1);
    EXPECT_EQ(t.s.SideToMove, 1);

    for (int i = 0; i < 36; ++i)
        t.game.bForwardClick();
    EXPECT_EQ(t.s.Board(), end);
    EXPECT_EQ(t.s.SideToMove, 1);
    EXPECT_EQ(t.port.list.size(), 36u);
    EXPECT_FALSE(t.port.isEnabled(Control::bForward));
    t.game.mmForwardClick(); // nothing past the last ply
    EXPECT_EQ(t.s.CurrentPly, 37);
}

TEST(ScriptedGame, UndoGivesTheDoubleStepBack) {
    Table t;
    t.game.mmNewClick();
    t.Play("B2B4");
    EXPECT_EQ(t.Code("B4"), 12);
    t.game.mmUndoClick();
    EXPECT_EQ(t.Code("B2"), 12);
    // The position of that ply comes back whole, the pawn's double step with it.
    t.Click(At("B2"));
    t.Hover(At("B4"));
    EXPECT_EQ(t.in.ClickAllowed, 1);
    t.Hover(At("B3"));
    EXPECT_EQ(t.in.ClickAllowed, 1);
    // A new move after undo cuts the redo line.
    t.Release(At("B3"));
    EXPECT_EQ(t.s.LastPly, 2);
    EXPECT_FALSE(t.port.isEnabled(Control::bForward));
}

TEST(ScriptedGame, CheckIsShownWhileTheKingIsAttacked) {
    Table t;
    t.KnightsOut();
    t.Play("A3C4"); // the knight on C4 attacks the Red king on A5
    EXPECT_TRUE(t.port.checkLabelBlack[2]);
    t.Play("C8A7"); // Red moves, but its king stays attacked
    EXPECT_TRUE(t.port.checkLabelBlack[2]);
    t.game.lCheckClick(2); // clicked away until the position changes
    EXPECT_FALSE(t.port.checkLabelBlack[2]);
    t.game.mmUndoClick();
    t.game.mmUndoClick();
    EXPECT_FALSE(t.port.checkLabelBlack[2]);
    t.game.mmForwardClick(); // the knight is on C4 again
    EXPECT_TRUE(t.port.checkLabelBlack[2]);
    EXPECT_EQ(t.s.CheckFlags[2], 2);
}

TEST(ScriptedGame, KingSpecialMoveStopsAtAttackedSquares) {
    Table t;
    t.KnightsOut(); // the knight's start square is free: the king may go anywhere
    t.Click(At("D1"));
    ASSERT_EQ(t.in.SelectedPiece, 18);
    // F3 is the capture square of the Brown pawn on G4: attacked and empty.
    t.Hover(At("F3"));
    EXPECT_EQ(t.in.ClickAllowed, 0);
    EXPECT_EQ(t.port.status, texts::kAttackedSquare);
    EXPECT_EQ(t.port.pointer, PointerRole::Forbidden);
    t.Release(At("F3"));
    EXPECT_EQ(t.s.CurrentPly, 5) << "a refused click plays nothing";
    // A far empty square nobody attacks is open to the special move.
    t.Hover(At("D4"));
    EXPECT_EQ(t.in.ClickAllowed, 1);
    EXPECT_EQ(t.port.status, texts::kMovePossible);
    EXPECT_EQ(t.port.pointer, PointerRole::Drag);
    t.Release(At("D4"));
    EXPECT_EQ(t.Code("D4"), 18);
    EXPECT_EQ(t.s.CurrentFlags().kingRights[1], 0);
    // The marks never reach a stored board.
    for (int p = 1; p <= t.s.CurrentPly; ++p)
        for (auto code : t.s.BoardHistory[p].cells)
            EXPECT_NE(code, kAttackMark);
}

} // namespace
} // namespace tavlon::test
