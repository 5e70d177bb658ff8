// The move list shows the whole line; a click on a line goes where undo and redo would.
#include "table.h"

#include <fstream>
#include <vector>

namespace tavlon::test {
namespace {

// Knights out and home again: eight listed moves, White to move at ply 9.
void KnightsOutAndHome(Table& t) {
    t.KnightsOut();
    for (const char* move : {"A3B1", "C8A7", "H6G8", "F1H2"})
        t.Play(move);
}

std::vector<char> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::vector<char> bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void ExpectSameGame(Table& a, Table& b, const std::string& where) {
    EXPECT_EQ(a.s.CurrentPly, b.s.CurrentPly) << where;
    EXPECT_EQ(a.s.LastPly, b.s.LastPly) << where;
    EXPECT_EQ(a.s.SideToMove, b.s.SideToMove) << where;
    EXPECT_EQ(a.s.Board(), b.s.Board()) << where;
    for (int p = 1; p <= 4; ++p) {
        EXPECT_EQ(a.s.CheckFlags[p], b.s.CheckFlags[p]) << where;
        EXPECT_EQ(a.port.checkLabelBlack[p], b.port.checkLabelBlack[p]) << where;
    }
    EXPECT_EQ(a.port.drawnBoard, b.port.drawnBoard) << where;
    EXPECT_EQ(a.port.glance.sideToMove, b.port.glance.sideToMove) << where;
    EXPECT_EQ(a.port.glance.kingsInCheck, b.port.glance.kingsInCheck) << where;
    EXPECT_EQ(a.port.list, b.port.list) << where;
    EXPECT_EQ(a.port.listRow, b.port.listRow) << where;
    for (Control c : {Control::bBackStep, Control::bForward})
        EXPECT_EQ(a.port.isEnabled(c), b.port.isEnabled(c)) << where;
    // The autosave's own thread must be done with the file before it is written here.
    a.game.FinishAutosave();
    b.game.FinishAutosave();
    a.game.WriteSnapshot(a.s.CurrentPly, a.game.AutosavePath());
    b.game.WriteSnapshot(b.s.CurrentPly, b.game.AutosavePath());
    EXPECT_TRUE(FileBytes(a.game.AutosavePath()) == FileBytes(b.game.AutosavePath())) << where;
}

TEST(MoveList, AJumpToALineEqualsTheSameNumberOfUndoOrRedoSteps) {
    Table jumped;
    Table stepped;
    for (Table* t : {&jumped, &stepped})
        KnightsOutAndHome(*t);
    // Back and forth over the line, from its end, its start and the middle.
    for (int row : {3, 0, 7, 7, 1, 6, 2, 5, 4}) {
        jumped.game.ListBoxClick(row);
        const int target = row + 2; // the line of the move that produced this ply
        while (stepped.s.CurrentPly > target)
            stepped.game.mmUndoClick();
        while (stepped.s.CurrentPly < target)
            stepped.game.mmForwardClick();
        const std::string where = "row " + std::to_string(row);
        ASSERT_EQ(jumped.s.CurrentPly, target) << where;
        EXPECT_EQ(jumped.port.listRow, row) << where;
        // The list holds the lines up to the position shown, as undo and redo leave it.
        EXPECT_EQ(jumped.port.list.size(), static_cast<std::size_t>(row) + 1) << where;
        ExpectSameGame(jumped, stepped, where);
    }
}

TEST(MoveList, AMoveFromAnEarlierLineCutsTheRestAndRowsOutsideChangeNothing) {
    Table t;
    KnightsOutAndHome(t);
    t.game.ListBoxClick(8); // past the last line
    t.game.ListBoxClick(-1);
    EXPECT_EQ(t.s.CurrentPly, 9);
    EXPECT_EQ(t.port.listRow, 7);

    t.game.ListBoxClick(3); // after Brown's knight went out: White moves
    t.Click(At("A3"));      // a pick in progress is dropped by the next jump
    t.game.ListBoxClick(1);
    EXPECT_EQ(t.in.ClickPhase, 0);
    EXPECT_EQ(t.in.SelectedPiece, 0);
    EXPECT_EQ(t.s.SideToMove, 3);
    EXPECT_EQ(t.s.LastPly, 9);
    t.Play("G8H6");
    EXPECT_EQ(t.s.LastPly, 4);
    EXPECT_EQ(t.port.list, (std::vector<std::string>{"1. B1A3", "2. A7C8", "3. G8H6"}));
    EXPECT_EQ(t.port.listRow, 2);
    EXPECT_FALSE(t.port.isEnabled(Control::bForward));
}

TEST(MoveList, AJumpAbandonsAPendingPromotionAndSetupIgnoresTheList) {
    Table t;
    TBoard b = KingsAtHome();
    b.at(At("B7")) = 12;
    t.Setup(b);
    t.Play("D1D2");
    t.Play("A5A6");
    t.game.ListBoxClick(0); // White's king has moved: Red to move
    t.game.mmUndoClick();
    t.Click(At("B7"));
    t.Click(At("B8"));
    ASSERT_EQ(t.in.PromotionPending, 1);
    t.game.ListBoxClick(1);
    EXPECT_EQ(t.in.PromotionPending, 0);
    EXPECT_FALSE(t.port.isVisible(Control::plChoiceFigure));
    EXPECT_EQ(t.s.CurrentPly, 3);
    EXPECT_EQ(t.s.SideToMove, 3);
    EXPECT_EQ(t.Code("B7"), 12);

    t.game.mmSetupPositionClick();
    ASSERT_EQ(t.game.Setup().state().SetupMode, 1);
    const auto ply = t.s.CurrentPly;
    t.game.ListBoxClick(0);
    EXPECT_EQ(t.s.CurrentPly, ply);
}

} // namespace
} // namespace tavlon::test
