// The move list: one row per listed move up to the position shown, as undo and redo leave
// it, the row of that position highlighted, and a jump to any row as that many undo or
// redo steps would make it.
#include "flow/game.h"

namespace tavlon {

namespace {

// A line is listed when it holds more than its line-end codes.
bool IsListed(const ShortString& line) {
    for (std::size_t i = 0; i < line.len; ++i)
        if (line.text[i] != '\n' && line.text[i] != '\r')
            return true;
    return false;
}

} // namespace

int Game::ListRowOfPly(std::uint16_t ply) const {
    int rows = 0;
    for (std::uint16_t p = 1; p <= ply; ++p)
        rows += IsListed(s_->MoveTexts[p]) ? 1 : 0;
    return rows - 1;
}

std::uint16_t Game::PlyOfListRow(int row) const {
    const GameState& s = *s_;
    if (row < 0)
        return 0;
    for (std::uint16_t p = 1; p <= s.LastPly; ++p) {
        if (IsListed(s.MoveTexts[p]) && row-- == 0)
            return p;
    }
    return 0;
}

void Game::ShowListRow() {
    port_.ListSelect(ListRowOfPly(s_->CurrentPly));
}

void Game::ListUpToCurrentPly(std::uint16_t shownBefore) {
    const std::uint16_t now = s_->CurrentPly;
    if (now < shownBefore)
        port_.ListTruncate(ListRowOfPly(now) + 1);
    for (std::uint16_t p = static_cast<std::uint16_t>(shownBefore + 1); p <= now; ++p)
        ListMoveText(p);
    ShowListRow();
}

void Game::ListBoxClick(int row) {
    GameState& s = *s_;
    const std::uint16_t target = PlyOfListRow(row);
    // Undo never goes below ply 1; a line of a move made from ply 0 is not a place to go.
    if (target < 1 || setup_.Active()) {
        ShowListRow(); // the window's own highlight of the clicked line goes
        return;
    }
    // A pending promotion is abandoned and a pick dropped, as undo does.
    bool redraw = in_.PromotionPending != 0;
    if (redraw)
        EndPendingPromotion();
    redraw = CancelPick() || redraw;
    const std::uint16_t before = s.CurrentPly;
    if (target != before) {
        GoToPly(target);
        PauseOnComputerTurn();
    } else {
        if (redraw)
            RefreshBoard(s.CurrentPly);
        ShowListRow();
    }
    SetUndoRedoButtons();
    ShowGlance();
    CheckConsistency();
    // What a crash brings back is what is on the board.
    if (s.CurrentPly != before)
        Autosave(s.CurrentPly);
}

} // namespace tavlon
