// The one place a move is judged, listed and carried out on a position.
#pragma once

#include "model/position.h"

#include <cstdint>

namespace tavlon {

// The board a piece picked on `from` is judged on: the position's own board, with the
// attacked-square marks when the piece is a king.
TBoard BoardSeenFrom(const Position& pos, Square from);

// The two-click cycle's verdict with the rules on, for the piece on `from` (as `seen` shows
// it, see BoardSeenFrom) going to `to`: the piece's geometry and the landing refusals.
bool TargetAccepted(const Position& pos, const TBoard& seen, Square from, Square to);

// True when a pawn moved from `from` to `to` reaches its owner's promotion line, so the move
// needs a chosen kind.
bool NeedsPromotion(const Position& pos, Square from, Square to);

// Every move the two-click cycle accepts with the rules on: a piece of the side to move
// picked, then a target square accepted; a promotion once per kind it may choose. The list
// has a fixed capacity and allocates nothing.
struct MoveList {
    static constexpr int kCapacity = 320;
    Move moves[kCapacity];
    int size = 0;

    const Move* begin() const { return moves; }
    const Move* end() const { return moves + size; }
    bool Contains(const Move& m) const;
};
void ListLegalMoves(const Position& pos, MoveList& out);

// What carrying a move out did, so that notation, tints and sounds need not guess it from
// the boards.
struct MoveResult {
    TPieceCode piece = 0;    // the code that left the source square
    TPieceCode placed = 0;   // the code standing on the target afterwards
    TPieceCode captured = 0; // the piece taken (on the target, or beyond an en-passant mark)
    Square capturedAt = {};  // where it stood; column 0 when nothing was taken
    Square rookFrom = {}, rookTo = {}; // the castling rook's jump; column 0 when none
    bool enPassant = false;
    bool promotion = false;
};

// Typed moves carry a piece without the rule steps; clicked moves and the computer's with.
enum class RuleSteps { Apply, Skip };

// Carries `m` out on `pos`: with the rule steps, the castling rook's jump, the en-passant
// mark left, taken and cleared, and the promotion to m.promotion; always the piece moved
// onto the target (what stood there taken), the moved king's special move and the moved
// pawn's double step cleared, and the turn passed to the next player. The move is not
// judged: the caller has.
MoveResult CarryOut(Position& pos, const Move& m, RuleSteps steps = RuleSteps::Apply);

// True when the king of the side to move stands attacked and every listed move leaves it
// attacked.
bool IsMated(const Position& pos);

} // namespace tavlon
