#include "flow/drag.h"

namespace tavlon {

namespace {

constexpr int kSquarePixels = 40;

Square SquareAt(int x, int y) {
    return {x / kSquarePixels + 1, y / kSquarePixels + 1};
}

} // namespace

void PieceDrag::Press(int x, int y) {
    pressed_ = true;
    dragging_ = false;
    pressX_ = x;
    pressY_ = y;
    from_ = SquareAt(x, y);
}

void PieceDrag::Move(int x, int y, bool inside) {
    if (pressed_ && (!inside || SquareAt(x, y) != from_))
        Start();
    if (inside)
        game_.imgMouseMove(x, y);
}

// Only a press that a click would turn into a pick starts a drag: with a piece already
// picked the press square may be a target, and a click there would play.
void PieceDrag::Start() {
    pressed_ = false;
    const GameState& s = game_.state();
    if (s.ClickPhase != 0 || s.ClickAllowed != 1 || s.SetupMode || !s.GameStarted ||
        s.PromotionPending)
        return;
    game_.imgMouseUp(pressX_, pressY_, MouseButton::Left);
    if (s.ClickPhase == 1) {
        dragging_ = true;
        piece_ = s.SelectedPiece;
    }
}

bool PieceDrag::Release(int x, int y, bool inside) {
    pressed_ = false;
    if (!dragging_)
        return false;
    dragging_ = false;
    piece_ = 0;
    // Back on the square it came from: the pick stands, as after one click there.
    if (inside && SquareAt(x, y) == from_)
        return true;
    if (inside)
        game_.imgMouseUp(x, y, MouseButton::Left);
    const GameState& s = game_.state();
    if (s.ClickPhase != 0 && !s.PromotionPending)
        game_.imgContextPopup(); // refused or off the board: the piece goes back
    return true;
}

} // namespace tavlon
