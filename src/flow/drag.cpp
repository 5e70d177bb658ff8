#include "flow/drag.h"

namespace tavlon {

void PieceDrag::Press(BoardPoint at) {
    pressed_ = at.onBoard;
    dragging_ = false;
    from_ = at;
}

void PieceDrag::Move(BoardPoint at) {
    if (pressed_ && (!at.onBoard || at.square != from_.square))
        Start();
    if (at.onBoard)
        game_.imgMouseMove(at);
}

// Only a press that a click would turn into a pick starts a drag: with a piece already
// picked the press square may be a target, and a click there would play.
void PieceDrag::Start() {
    pressed_ = false;
    const InputState& in = game_.input();
    if (in.ClickPhase != 0 || in.ClickAllowed != 1 || game_.Setup().Active() ||
        !game_.state().GameStarted || in.PromotionPending)
        return;
    game_.imgMouseUp(from_, MouseButton::Left);
    if (in.ClickPhase == 1) {
        dragging_ = true;
        piece_ = in.SelectedPiece;
    }
}

bool PieceDrag::Release(BoardPoint at) {
    pressed_ = false;
    if (!dragging_)
        return false;
    dragging_ = false;
    piece_ = 0;
    // Back on the square it came from: the pick stands, as after one click there.
    if (at.onBoard && at.square == from_.square)
        return true;
    if (at.onBoard)
        game_.imgMouseUp(at, MouseButton::Left);
    const InputState& in = game_.input();
    if (in.ClickPhase != 0 && !in.PromotionPending)
        game_.imgContextPopup(); // refused or off the board: the piece goes back
    return true;
}

} // namespace tavlon
