// Movement rules of the pieces, asked about one candidate square at a time.
#pragma once

#include "model/gamestate.h"

namespace tavlon {

// The refusals added to the geometry: a piece never lands on a king or on a square of its
// own player's (a piece or an en-passant mark), and a king never on a square its pick
// marked as attacked.
constexpr bool LandingRefused(TPieceCode piece, TPieceCode there) {
    return IsKing(there) || OwnerOf(piece) == OwnerOf(there) ||
           (IsKing(piece) && there == kAttackMark);
}

// Geometry verdict for `piece` going from `source` to `hover` on board `b`, with the pawn
// direction taken from s.SideToMove and the flags from s. Writes 1 or 0 into `verdict`;
// leaves it unchanged for a code that is no piece (or a pawn flag other than 0 and 1).
// `kingSpecialMove` receives the king rule's special-move flag when piece is a king.
// The code on `hover` is read from `b`; writes neither `s` nor any board.
void PieceGeometry(const TBoard& b, const GameState& s, TPieceCode piece, Square source,
                   Square hover, std::uint8_t& verdict, std::uint8_t& kingSpecialMove);

// The move cycle's form: source is ClickSquares[ClickPhase], hover is HoverSquare, on the
// board of CurrentPly. Does nothing in phase 0.
void PieceMoveAllowed(const GameState& s, TPieceCode piece, std::uint8_t& verdict);

} // namespace tavlon
