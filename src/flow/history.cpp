// Going along the line of positions: undo, redo, and the guards around them.
#include "flow/game.h"

#include <cassert>

namespace tavlon {

void Game::SetUndoRedoButtons() {
    const GameState& s = *s_;
    port_.SetEnabled(Control::bBackStep, s.CurrentPly > 1);
    port_.SetEnabled(Control::bForward, s.CurrentPly < s.LastPly);
}

void Game::ResetRedoLine() {
    s_->LastPly = s_->CurrentPly;
    SetUndoRedoButtons();
}

bool Game::HistoryFull() {
    if (s_->CurrentPly < kMaxPly)
        return false;
    port_.Message(texts::kHistoryFull);
    return true;
}

bool Game::CancelPick() {
    const bool picked = in_.SelectedPiece != 0 || in_.ClickPhase != 0;
    in_.SelectedPiece = 0;
    in_.ClickPhase = 0;
    in_.SeenBoard = s_->Board();
    return picked;
}

void Game::GoToPly(std::uint16_t ply) {
    GameState& s = *s_;
    if (ply < 1 || ply > s.LastPly || ply == s.CurrentPly)
        return;
    const std::uint16_t before = s.CurrentPly;
    s.SideToMove = s.PositionAt(ply).side;
    s.CurrentPly = ply;
    RefreshBoard(s.CurrentPly);
    port_.DrawPlayerOrder(s.SideToMove);
    ListUpToCurrentPly(before);
}

void Game::mmUndoClick() {
    GameState& s = *s_;
    if (in_.PromotionPending) {
        // The pending move is abandoned; the same player moves again from this ply.
        EndPendingPromotion();
        CancelPick();
        RefreshBoard(s.CurrentPly);
        SetUndoRedoButtons();
        ShowGlance();
        return;
    }
    const bool picked = CancelPick();
    const std::uint16_t before = s.CurrentPly;
    if (s.CurrentPly > 1) {
        // With computers at the table, undo goes back to the last position a person was to
        // move in, and the computers wait there.
        std::uint16_t target = static_cast<std::uint16_t>(s.CurrentPly - 1);
        while (target > 1 && players_.IsComputer(s.PositionAt(target).side))
            --target;
        GoToPly(target);
        PauseOnComputerTurn();
    } else if (picked) {
        RefreshBoard(s.CurrentPly);
    }
    SetUndoRedoButtons();
    ShowGlance();
    CheckConsistency();
    // What a crash brings back is what is on the board.
    if (s.CurrentPly != before)
        Autosave(s.CurrentPly);
}

void Game::mmForwardClick() {
    GameState& s = *s_;
    if (in_.PromotionPending)
        return;
    const bool picked = CancelPick();
    const std::uint16_t before = s.CurrentPly;
    if (s.CurrentPly < s.LastPly) {
        GoToPly(static_cast<std::uint16_t>(s.CurrentPly + 1));
        PauseOnComputerTurn();
    } else if (picked) {
        RefreshBoard(s.CurrentPly);
    }
    SetUndoRedoButtons();
    ShowGlance();
    CheckConsistency();
    if (s.CurrentPly != before)
        Autosave(s.CurrentPly);
}

void Game::bBackStepClick() {
    mmUndoClick();
    port_.SetEnabled(Control::bBackStep, s_->CurrentPly > 1);
}

void Game::bForwardClick() {
    mmForwardClick();
}

void Game::lCheckClick(int player) {
    if (player < 1 || player > 4)
        return;
    GameState& s = *s_;
    s.CheckFlags[player] = 0;
    labelCleared_[player] = true;
    labelClearedPly_ = s.CurrentPly;
    labelClearedBoard_ = s.Board();
    port_.SetCheckLabel(player, false);
}

void Game::CheckConsistency() const {
#ifndef NDEBUG
    const GameState& s = *s_;
    assert(s.CurrentPly <= s.LastPly && s.LastPly <= kMaxPly);
    assert(in_.ClickPhase <= 2);
    assert(s.SideToMove >= 1 && s.SideToMove <= 4);
    for (TPieceCode code : s.Board().cells)
        assert(IsValidCode(code) && code != kAttackMark);
#endif
}

} // namespace tavlon
