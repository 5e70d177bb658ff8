// The move cycle square by square: verdicts, texts, pointers, picks and cancels.
#include "table.h"

namespace tavlon::test {
namespace {

struct HoverCase {
    const char* name;
    const char* picked; // nullptr: nothing picked
    const char* square;
    std::string_view status;
    PointerRole pointer;
    int allowed;
};

TEST(Hover, StatusTextsAndPointersFromTheStartPosition) {
    const HoverCase cases[] = {
        {"own pawn", nullptr, "D2", texts::kPickHint, PointerRole::Hand, 1},
        {"empty square", nullptr, "D4", texts::kPickHint, PointerRole::Arrow, 0},
        {"opponent's piece", nullptr, "E7", texts::kOpponentPiece, PointerRole::Forbidden, 0},
        {"pawn's single step", "D2", "D3", texts::kMovePossible, PointerRole::Drag, 1},
        {"pawn's double step", "D2", "D4", texts::kMovePossible, PointerRole::Drag, 1},
        {"pawn too far", "D2", "D5", texts::kMoveImpossible, PointerRole::Forbidden, 0},
        {"own piece", "D2", "C1", texts::kOwnOrKing, PointerRole::Forbidden, 0},
        {"own square", "D2", "D2", texts::kOwnOrKing, PointerRole::Forbidden, 0},
        {"knight's jump", "B1", "C3", texts::kMovePossible, PointerRole::Drag, 1},
        {"blocked rook", "C1", "C4", texts::kMoveImpossible, PointerRole::Forbidden, 0},
    };
    for (const auto& tc : cases) {
        Table t;
        t.game.mmNewClick();
        if (tc.picked)
            t.Click(At(tc.picked));
        t.Hover(At(tc.square));
        EXPECT_EQ(t.port.status, tc.status) << tc.name;
        EXPECT_EQ(t.port.pointer, tc.pointer) << tc.name;
        EXPECT_EQ(t.in.ClickAllowed, tc.allowed) << tc.name;
    }
}

TEST(Hover, OpponentPieceKeepsThePreviousTextAndKingsAreNeverTaken) {
    Table t;
    TBoard b = KingsAtHome();
    b.at(At("D3")) = 17; // White rook
    b.at(At("D6")) = 35; // Green bishop in reach
    b.at(At("G2")) = 26; // Red knight off the rook's lines
    b.at(At("H3")) = 48; // never reached: kings are refused
    t.Setup(b);
    t.Click(At("D3"));
    t.Hover(At("D5"));
    ASSERT_EQ(t.port.status, texts::kMovePossible);
    t.Hover(At("G2")); // refused by geometry, another player's piece
    EXPECT_EQ(t.port.status, texts::kMovePossible);
    EXPECT_EQ(t.port.pointer, PointerRole::Forbidden);
    t.Hover(At("D6")); // allowed capture, text still left as it was
    EXPECT_EQ(t.in.ClickAllowed, 1);
    EXPECT_EQ(t.port.pointer, PointerRole::Drag);
    t.Hover(At("H3"));
    EXPECT_EQ(t.in.ClickAllowed, 0);
    // The move hints mark exactly the accepted squares.
    EXPECT_NE(t.port.hints, 0u);
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r) {
            const bool hinted = (t.port.hints >> ((c - 1) * 8 + (r - 1))) & 1;
            EXPECT_EQ(hinted, t.game.JudgeTarget({c, r}).allowed) << c << "," << r;
        }
    EXPECT_TRUE(t.game.JudgeTarget(At("D6")).allowed);
    EXPECT_FALSE(t.game.JudgeTarget(At("D7")).allowed);
}

TEST(Clicks, DoubleClickKeepsThePickAndAClickRightAfterAMoveDoesNothing) {
    Table t;
    t.game.mmNewClick();
    t.Click(At("D2"));
    t.Release(At("D2")); // second release on the source square
    EXPECT_EQ(t.in.ClickPhase, 1);
    EXPECT_EQ(t.in.SelectedPiece, 14);
    t.Click(At("D4"));
    ASSERT_EQ(t.s.CurrentPly, 2);
    t.Release(At("D4")); // no hover since the move: ClickAllowed was cleared
    EXPECT_EQ(t.in.ClickPhase, 0);
    EXPECT_EQ(t.in.SelectedPiece, 0);
    EXPECT_EQ(t.port.pointer, PointerRole::Forbidden);
    EXPECT_TRUE(t.port.isEnabled(Control::bBackStep));
    EXPECT_EQ(t.s.LastPly, 2);
}

TEST(Clicks, RightButtonNeverPicksOrPlaysItOnlyCancels) {
    Table t;
    t.game.mmNewClick();
    for (const char* target : {"D5", "D4"}) { // refused, then accepted
        t.Click(At("D2"));
        t.RightClick(At(target));
        EXPECT_EQ(t.in.ClickPhase, 0) << target;
        EXPECT_EQ(t.in.SelectedPiece, 0) << target;
        EXPECT_EQ(t.s.CurrentPly, 1) << target;
        EXPECT_EQ(t.Code("D2"), 14) << target;
    }
    // Over an own piece with nothing picked: nothing is picked.
    t.Hover(At("D2"));
    t.Release(At("D2"), MouseButton::Right);
    EXPECT_EQ(t.in.ClickPhase, 0);
    EXPECT_EQ(t.in.SelectedPiece, 0);
    // A right release on the intro's start area still starts a game.
    Table intro;
    intro.game.imgMouseUp({true, {4, 3}, true}, MouseButton::Right);
    EXPECT_EQ(intro.s.GameStarted, 1);
}

TEST(Clicks, RulesOffAcceptsEverySquareAndTheTurnStillPasses) {
    Table t;
    t.game.mmNewClick();
    t.game.cbOrderClick(true);
    t.Hover(At("E7")); // another player's piece
    EXPECT_EQ(t.port.status, texts::kRulesOff);
    EXPECT_EQ(t.port.pointer, PointerRole::Hand);
    t.Release(At("E7"));
    t.Hover(At("A5")); // a king may be taken with the rules off
    EXPECT_EQ(t.port.pointer, PointerRole::Drag);
    t.Release(At("A5"));
    EXPECT_EQ(t.Code("A5"), 31);
    EXPECT_EQ(t.s.SideToMove, 2);
    t.Click(At("D4")); // an empty square moved onto another empties it
    t.Click(At("C1"));
    EXPECT_EQ(t.Code("C1"), 0);
    EXPECT_EQ(t.s.SideToMove, 3);
}

TEST(IntroScreen, OnlyTheStartButtonReacts) {
    for (const bool onStart : {true, false}) {
        Table t;
        const BoardPoint at{true, {4, 3}, onStart};
        t.game.imgMouseMove(at);
        EXPECT_EQ(t.port.status, "");
        EXPECT_EQ(t.port.pointer, onStart ? PointerRole::Hand : PointerRole::Arrow);
        t.game.imgMouseUp(at, MouseButton::Left);
        EXPECT_EQ(t.s.GameStarted, onStart ? 1 : 0);
        EXPECT_EQ(t.s.CurrentPly, onStart ? 1 : 0);
    }
}

TEST(CastlingRook, JumpsFromTheCornerUnlessTheKingLandsOnItsHomeSquare) {
    struct Case {
        const char* name;
        const char* target;
        int rights;
        bool jumps;
    } cases[] = {{"king steps up", "D2", 2, true},
                 {"king goes far", "E4", 2, true},
                 {"king lands on the rook's home", "C1", 2, false},
                 {"the rook reached the corner only after the start", "D2", 1, false}};
    for (const auto& tc : cases) {
        Table t;
        TBoard b;
        b.at(At("D1")) = 18;
        b.at(At("A1")) = 17;
        b.at(At("A5")) = 28;
        b.at(At("E8")) = 38;
        b.at(At("H4")) = 48;
        t.Setup(b);
        ASSERT_EQ(t.s.CurrentFlags().kingRights[1], 2);
        t.s.CurrentFlags().kingRights[1] = static_cast<std::uint8_t>(tc.rights);
        t.Click(At("D1"));
        t.Click(At(tc.target));
        ASSERT_EQ(t.s.CurrentPly, 2) << tc.name;
        EXPECT_EQ(t.Code(tc.target), 18) << tc.name;
        if (tc.jumps) {
            EXPECT_EQ(t.Code("A1"), 0) << tc.name;
            EXPECT_EQ(t.Code("C1"), 17) << tc.name;
        } else {
            EXPECT_EQ(t.Code("A1"), 17) << tc.name << ": the rook must not vanish";
        }
        EXPECT_EQ(t.s.CurrentFlags().kingRights[1], 0);
        t.game.mmUndoClick(); // the position before the move, exactly
        EXPECT_EQ(t.s.Board(), b) << tc.name;
    }
}

TEST(KingPick, CancellingGivesBackAnEnPassantMarkUnderARookLine) {
    Table t;
    TBoard b = KingsAtHome();
    b.at(At("H6")) = 47; // Brown rook walking left along row 3 (rank 6)
    b.at(At("C6")) = 20; // a Red mark on that line
    t.Setup(b);
    t.Click(At("D1"));
    EXPECT_EQ(t.in.SeenBoard.at(At("C6")), kAttackMark);
    EXPECT_EQ(t.port.gridBoard.at(At("C6")), kAttackMark);
    EXPECT_EQ(t.Code("C6"), 20); // the line keeps no mark
    t.RightClick(At("H8"));
    EXPECT_EQ(t.Code("C6"), 20);
    // And after a king's move the mark is carried into the next board.
    t.Click(At("D1"));
    t.Click(At("D2"));
    ASSERT_EQ(t.s.CurrentPly, 2);
    EXPECT_EQ(t.Code("C6"), 20);
    EXPECT_EQ(t.s.BoardHistory[1].at(At("C6")), 20);
}

struct PromotionCase {
    const char* name;
    int side;
    const char* from;
    const char* to;
    TPieceCode pawn;
    int item;
    TPieceCode expected;
};

TEST(Promotion, EachChoiceGivesThePieceOfThePlayerToMove) {
    const PromotionCase cases[] = {
        {"White pawn to a bishop", 1, "B7", "B8", 12, 0, 15},
        {"Red pawn captures to a knight", 2, "G5", "H6", 21, 1, 26},
        {"Green pawn to a rook", 3, "C2", "C1", 33, 2, 37},
    };
    for (const auto& tc : cases) {
        Table t;
        TBoard b = KingsAtHome();
        b.at(At(tc.from)) = tc.pawn;
        b.at(At("H6")) = 35; // something for the Red pawn to capture
        t.Setup(b);
        t.s.SideToMove = static_cast<std::uint8_t>(tc.side);
        t.Click(At(tc.from));
        t.Click(At(tc.to));
        ASSERT_EQ(t.in.PromotionPending, 1) << tc.name;
        EXPECT_TRUE(t.port.isVisible(Control::plChoiceFigure));
        EXPECT_FALSE(t.port.isEnabled(Control::plInterface));
        EXPECT_EQ(t.port.focused, Control::cbFigures);
        EXPECT_EQ(t.s.CurrentPly, 1) << "the move waits for the choice";
        // Board clicks change nothing while the choice is open.
        t.Click(At("D1"));
        t.RightClick(At("D1"));
        EXPECT_EQ(t.in.PromotionPending, 1);
        t.port.promotionItem = tc.item;
        t.game.bInsertOkClick();
        EXPECT_EQ(t.in.PromotionPending, 0);
        EXPECT_EQ(t.s.CurrentPly, 2);
        EXPECT_EQ(t.Code(tc.to), tc.expected) << tc.name;
        EXPECT_EQ(t.Code(tc.from), 0);
        EXPECT_EQ(t.s.SideToMove, tc.side % 4 + 1);
        EXPECT_FALSE(t.port.isVisible(Control::plChoiceFigure));
        EXPECT_TRUE(t.port.isEnabled(Control::plInterface));
        for (int p = 1; p <= 4; ++p)
            EXPECT_EQ(t.port.checkLabelBlack[p], (t.port.glance.kingsInCheck & t.KingBit(p)) != 0)
                << tc.name << ": the labels tell what the frames do";
    }
}

TEST(Promotion, UndoAbandonsThePendingMoveAndRedoWaits) {
    Table t;
    TBoard b = KingsAtHome();
    b.at(At("B7")) = 12;
    t.Setup(b);
    t.Play("D1D2");
    t.game.mmUndoClick();
    t.Click(At("B7"));
    t.Click(At("B8"));
    ASSERT_EQ(t.in.PromotionPending, 1);
    t.game.mmForwardClick(); // redo does nothing while the choice is open
    EXPECT_EQ(t.s.CurrentPly, 1);
    EXPECT_EQ(t.in.PromotionPending, 1);
    t.game.mmUndoClick();
    EXPECT_EQ(t.in.PromotionPending, 0);
    EXPECT_EQ(t.s.CurrentPly, 1);
    EXPECT_EQ(t.s.SideToMove, 1);
    EXPECT_EQ(t.in.ClickPhase, 0);
    EXPECT_FALSE(t.port.isVisible(Control::plChoiceFigure));
    EXPECT_EQ(t.Code("B7"), 12);
    t.game.bInsertOkClick(); // a stray Enter afterwards plays nothing
    EXPECT_EQ(t.s.CurrentPly, 1);
}

TEST(UndoRedo, CancelThePickSoALaterClickCannotMoveAGhost) {
    Table t;
    t.game.mmNewClick();
    t.Play("D2D4");
    t.Click(At("A5")); // Red picks its king: marks on the board
    t.game.mmUndoClick();
    EXPECT_EQ(t.in.ClickPhase, 0);
    EXPECT_EQ(t.in.SelectedPiece, 0);
    for (int p = 1; p <= 2; ++p)
        for (auto code : t.s.BoardHistory[p].cells)
            EXPECT_NE(code, kAttackMark);
    t.game.mmForwardClick();
    t.Click(At("E4")); // empty: nothing was picked, nothing moves
    EXPECT_EQ(t.s.CurrentPly, 2);
}

TEST(HistoryBound, NoMovePastTheLastPly) {
    Table t;
    t.game.mmNewClick();
    t.s.CurrentPly = kMaxPly;
    t.s.BoardHistory[kMaxPly] = t.s.BoardHistory[1];
    t.s.Flags[kMaxPly] = t.s.Flags[1];
    t.Click(At("D2"));
    t.Click(At("D4"));
    EXPECT_EQ(t.s.CurrentPly, kMaxPly);
    ASSERT_EQ(t.port.messages.size(), 1u);
    EXPECT_EQ(t.port.messages[0], texts::kHistoryFull);
    t.port.input = "d2d4";
    t.game.bbPlayClick();
    EXPECT_EQ(t.s.CurrentPly, kMaxPly);
    EXPECT_EQ(t.port.messages.size(), 2u);
}

} // namespace
} // namespace tavlon::test
