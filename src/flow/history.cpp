// Undo and redo along the history of boards, and the guards around it.
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
    GameState& s = *s_;
    const bool picked = s.SelectedPiece != 0 || s.ClickPhase != 0;
    ClearTargetMarks(s.Board());
    ForgetCoveredMarks();
    s.SelectedPiece = 0;
    s.ClickPhase = 0;
    return picked;
}

void Game::mmUndoClick() {
    GameState& s = *s_;
    if (s.PromotionPending) {
        // The pending move is abandoned; the same player moves again from this ply.
        EndPendingPromotion();
        CancelPick();
        RefreshBoard(s.CurrentPly);
        SetUndoRedoButtons();
        ShowGlance();
        return;
    }
    const bool picked = CancelPick();
    if (s.CurrentPly > 1) {
        --s.CurrentPly;
        RefreshBoard(s.CurrentPly);
        s.SideToMove = static_cast<std::uint8_t>(PrevPlayer(s.SideToMove));
        port_.DrawPlayerOrder(s.SideToMove);
        ListUpToCurrentPly(static_cast<std::uint16_t>(s.CurrentPly + 1));
        for (int p = 1; p <= 4; ++p) {
            s.CheckFlags[p] = 0;
            port_.SetCheckLabel(p, false);
        }
    } else if (picked) {
        RefreshBoard(s.CurrentPly);
    }
    SetUndoRedoButtons();
    ShowGlance();
    CheckConsistency();
}

void Game::mmForwardClick() {
    GameState& s = *s_;
    if (s.PromotionPending)
        return;
    const bool picked = CancelPick();
    if (s.CurrentPly < s.LastPly) {
        ++s.CurrentPly;
        RefreshBoard(s.CurrentPly);
        s.SideToMove = static_cast<std::uint8_t>(NextPlayer(s.SideToMove));
        port_.DrawPlayerOrder(s.SideToMove);
        ListUpToCurrentPly(static_cast<std::uint16_t>(s.CurrentPly - 1));
    } else if (picked) {
        RefreshBoard(s.CurrentPly);
    }
    SetUndoRedoButtons();
    ShowGlance();
    CheckConsistency();
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
    s_->CheckFlags[player] = 0;
    port_.SetCheckLabel(player, false);
}

void Game::CheckConsistency() const {
#ifndef NDEBUG
    const GameState& s = *s_;
    assert(s.CurrentPly <= s.LastPly && s.LastPly <= kMaxPly);
    assert(s.ClickPhase <= 2);
    assert(s.SideToMove >= 1 && s.SideToMove <= 4);
    for (TPieceCode code : s.Board().cells)
        assert(IsValidCode(code));
#endif
}

} // namespace tavlon
