// A piece carried with the left button: pressing on a piece the mover may pick and moving
// off its square picks it as a click would; releasing over another square plays what a
// click there would play; a refused square or a release off the board puts it back. A
// press and release on one square stays an ordinary click.
#pragma once

#include "flow/game.h"

namespace tavlon {

class PieceDrag {
  public:
    explicit PieceDrag(Game& game) : game_(game) {}

    // The left button went down over `at` (on the board).
    void Press(BoardPoint at);
    // The pointer moved to `at`, on the board or off it. Drives the hover evaluation as a
    // move without a button does.
    void Move(BoardPoint at);
    // The left button came up over `at`. True when this ended a drag (the release is then
    // handled); false when the release is an ordinary one for the window to pass on.
    bool Release(BoardPoint at);

    bool Dragging() const { return dragging_; }
    Square From() const { return from_.square; }
    TPieceCode Piece() const { return piece_; }

  private:
    void Start();

    Game& game_;
    bool pressed_ = false;
    bool dragging_ = false;
    BoardPoint from_;
    TPieceCode piece_ = 0;
};

} // namespace tavlon
