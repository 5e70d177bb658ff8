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

    // The left button went down at board pixel (x, y).
    void Press(int x, int y);
    // The pointer moved to (x, y); `inside` when that is over the board. Drives the hover
    // evaluation as a move without a button does.
    void Move(int x, int y, bool inside);
    // The left button came up at (x, y). True when this ended a drag (the release is then
    // handled); false when the release is an ordinary one for the window to pass on.
    bool Release(int x, int y, bool inside);

    bool Dragging() const { return dragging_; }
    Square From() const { return from_; }
    TPieceCode Piece() const { return piece_; }

  private:
    void Start();

    Game& game_;
    bool pressed_ = false;
    bool dragging_ = false;
    int pressX_ = 0;
    int pressY_ = 0;
    Square from_;
    TPieceCode piece_ = 0;
};

} // namespace tavlon
