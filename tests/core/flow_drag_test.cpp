// A piece dragged from one square to another plays what two clicks would.
#include "flow/drag.h"
#include "table.h"

namespace tavlon::test {
namespace {

// Press on `from`, carry the piece over a neighbour of the target and drop it on `to`.
void Drag(Table& t, PieceDrag& drag, Square from, Square to) {
    t.Hover(from);
    drag.Press(Over(from));
    drag.Move(Over(from)); // still on its square
    EXPECT_FALSE(drag.Dragging());
    drag.Move(Over({to.c == 1 ? 2 : to.c - 1, to.r}));
    drag.Move(Over(to));
    drag.Release(Over(to));
    EXPECT_FALSE(drag.Dragging());
}

TEST(Drag, EveryDropEqualsTwoClicksAndARefusedOneChangesNothing) {
    Table dragged;
    Table clicked;
    PieceDrag drag(dragged.game);
    dragged.game.mmNewClick();
    clicked.game.mmNewClick();
    // Trial moves are undone, but undo keeps start flags cleared: the script has no double
    // steps and no king moves, so every one of its moves stays possible.
    for (const char* move : {"B1A3", "A7C8", "G8H6", "H2F1", "D2D3", "B5C5", "E7E6", "G4F4"}) {
        const Square from = At(move);
        for (int c = 1; c <= 8; ++c) {
            for (int r = 1; r <= 8; ++r) {
                const Square to{c, r};
                const auto ply = clicked.s.CurrentPly;
                const TBoard before = clicked.s.Board();
                Drag(dragged, drag, from, to);
                clicked.Click(from);
                clicked.Hover({to.c == 1 ? 2 : to.c - 1, to.r});
                clicked.Click(to);
                const bool played = clicked.s.CurrentPly != ply;
                const bool sameSquare = to == from;
                if (!played && !sameSquare)
                    clicked.game.imgContextPopup();
                const std::string where =
                    std::string(move) + " to " + std::to_string(c) + "," + std::to_string(r);
                ASSERT_EQ(dragged.s.CurrentPly, clicked.s.CurrentPly) << where;
                EXPECT_EQ(dragged.s.Board(), clicked.s.Board()) << where;
                EXPECT_EQ(dragged.s.SideToMove, clicked.s.SideToMove) << where;
                EXPECT_EQ(dragged.in.ClickPhase, clicked.in.ClickPhase) << where;
                EXPECT_EQ(dragged.in.SelectedPiece, clicked.in.SelectedPiece) << where;
                EXPECT_EQ(dragged.port.status, clicked.port.status) << where;
                EXPECT_EQ(dragged.port.pointer, clicked.port.pointer) << where;
                EXPECT_EQ(dragged.port.drawnBoard, clicked.port.drawnBoard) << where;
                if (!played && !sameSquare) {
                    EXPECT_EQ(dragged.s.Board(), before) << where << ": put back";
                }
                for (Table* t : {&dragged, &clicked}) {
                    if (played)
                        t->game.mmUndoClick();
                    else if (sameSquare)
                        t->game.imgContextPopup();
                }
            }
        }
        dragged.Play(move);
        clicked.Play(move);
    }
}

TEST(Drag, OnlyAPieceTheMoverMayPickIsCarriedAndOffTheBoardPutsItBack) {
    Table t;
    PieceDrag drag(t.game);
    t.game.mmNewClick();
    t.Hover(At("A7")); // Red's knight in White's turn
    drag.Press(Over(At("A7")));
    drag.Move(Over(At("A6")));
    EXPECT_FALSE(drag.Dragging());
    EXPECT_EQ(t.in.ClickPhase, 0);
    EXPECT_FALSE(drag.Release(Over(At("A6")))); // an ordinary release for the window

    t.Click(At("D2")); // with a piece picked a press carries nothing: it may be a target
    t.Hover(At("D4"));
    drag.Press(Over(At("D4")));
    drag.Move(Over(At("E4")));
    EXPECT_FALSE(drag.Dragging());
    t.game.imgContextPopup();

    t.Hover(At("D2"));
    drag.Press(Over(At("D2")));
    drag.Move(Over(At("D3")));
    ASSERT_TRUE(drag.Dragging());
    EXPECT_EQ(drag.Piece(), 14);
    EXPECT_EQ(drag.From(), At("D2"));
    drag.Move(BoardPoint{}); // off the board
    EXPECT_TRUE(drag.Release(BoardPoint{}));
    EXPECT_EQ(t.in.ClickPhase, 0);
    EXPECT_EQ(t.in.SelectedPiece, 0);
    EXPECT_EQ(t.s.CurrentPly, 1);
    EXPECT_EQ(t.Code("D2"), 14);
}

} // namespace
} // namespace tavlon::test
