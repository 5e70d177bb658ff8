// TEMPORARY: stand-ins for the move-cycle and setup members the storage tests link
// against until their real definitions are merged. Delete this file once they are.
#include "flow/game.h"

namespace tavlon {

void Game::RefreshBoard(std::uint16_t ply) {
    TBoard& b = s_->BoardHistory[ply];
    for (auto& code : b.cells)
        if (code == kAttackMark)
            code = kEmpty;
    port_.DrawBoard(b);
    port_.MirrorBoardToGrid(b);
}

void Game::EndPendingPromotion() {
    s_->PromotionPending = 0;
    s_->ClickPhase = 0;
    port_.SetVisible(Control::plChoiceFigure, false);
    port_.SetEnabled(Control::plInterface, true);
}

void Game::CancelPick() {
    s_->SelectedPiece = 0;
    s_->ClickPhase = 0;
}

void Game::ResetRedoLine() {
    s_->LastPly = s_->CurrentPly;
    port_.SetEnabled(Control::bBackStep, s_->CurrentPly > 1);
    port_.SetEnabled(Control::bForward, false);
}

void Game::ListMoveText(std::uint16_t ply) {
    const ShortString& t = s_->MoveTexts[ply];
    std::string_view line(t.text, t.len);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    if (!line.empty())
        port_.ListAppend(line);
}

void Game::ShowSetupFigure(bool active, int index) {
    port_.ShowSetupFigureImage(active, index);
}

} // namespace tavlon
