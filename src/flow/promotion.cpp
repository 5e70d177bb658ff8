// Pawn promotion: the move waits until a bishop, knight or rook is chosen.
#include "flow/game.h"

namespace tavlon {

void Game::bInsertOkClick() {
    if (!in_.PromotionPending)
        return;
    int item = port_.ChosenPromotionItem();
    if (item < 0 || item > 2)
        item = 0;
    // The list offers bishop, knight and rook in the order of their kinds.
    Move m = in_.PendingMove;
    m.promotion = static_cast<std::uint8_t>(kBishop + item);
    // The choice is over before the move completes, so a failed autosave cannot leave
    // the panel open for a second completion of the same move.
    port_.SetVisible(Control::plChoiceFigure, false);
    port_.SetEnabled(Control::plInterface, true);
    in_.PromotionPending = 0;
    if (GateMove(m))
        return;
    CompleteMove(m);
}

void Game::EndPendingPromotion() {
    if (!in_.PromotionPending)
        return;
    in_.PromotionPending = 0;
    in_.ClickPhase = 0;
    in_.SelectedPiece = 0;
    port_.SetVisible(Control::plChoiceFigure, false);
    port_.SetEnabled(Control::plChoiceFigure, false);
    port_.SetEnabled(Control::plInterface, true);
}

} // namespace tavlon
