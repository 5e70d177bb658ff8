// Pawn promotion: the move waits until a bishop, knight or rook is chosen.
#include "flow/game.h"
#include "flow/rulesteps.h"

namespace tavlon {

bool Game::CheckPromotion() {
    GameState& s = *s_;
    if (!IsPawn(s.SelectedPiece) || !OnPromotionLine(s.SelectedPiece, s.TargetSquare()))
        return false;
    s.PromotionPending = 1;
    port_.SetEnabled(Control::plChoiceFigure, true);
    port_.SetVisible(Control::plChoiceFigure, true);
    port_.Focus(Control::cbFigures);
    return true;
}

void Game::bInsertOkClick() {
    GameState& s = *s_;
    if (!s.PromotionPending)
        return;
    int item = port_.ChosenPromotionItem();
    if (item < 0 || item > 2)
        item = 0;
    // The list offers bishop, knight and rook in the order of their kinds.
    s.SelectedPiece = CodeOf(s.SideToMove, kBishop + item);
    // The choice is over before the move completes, so a failed autosave cannot leave
    // the panel open for a second completion of the same move.
    port_.SetVisible(Control::plChoiceFigure, false);
    port_.SetEnabled(Control::plInterface, true);
    s.PromotionPending = 0;
    CompleteMove(s.SideToMove);
}

void Game::EndPendingPromotion() {
    GameState& s = *s_;
    if (!s.PromotionPending)
        return;
    s.PromotionPending = 0;
    s.ClickPhase = 0;
    s.SelectedPiece = 0;
    port_.SetVisible(Control::plChoiceFigure, false);
    port_.SetEnabled(Control::plChoiceFigure, false);
    port_.SetEnabled(Control::plInterface, true);
}

} // namespace tavlon
