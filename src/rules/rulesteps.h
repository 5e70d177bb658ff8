// The rule steps that change squares besides a move's source and target: the castling
// rook's jump and en passant. Each works on the board being carried into the next ply.
#pragma once

#include "model/codes.h"

#include <cstdint>

namespace tavlon {

// For a king whose player has the special-move right 2: the rook jumps from the corner to
// its home square when the corner holds that player's rook and the home square is empty and
// not among `attacked` (the picked king's attack marks stand there). It does not jump when
// the king itself lands on the rook's home square. The jump ends the player's right.
// True when the rook jumped.
bool MoveCastlingRook(TBoard& w, TPieceCode piece, Square target, std::uint8_t rights[5],
                      std::uint64_t attacked);

// A pawn's double step leaves its player's mark on the square passed over, when a pawn
// of a player who could take it en passant stands beside the arrival square.
void SetEnPassantMark(TBoard& w, TPieceCode piece, Square source, Square target);

// A pawn landing on another player's mark removes the pawn beyond the mark. Returns the
// square of what it removed (whatever stood there), column 0 when the move takes nothing so.
Square TakeEnPassant(TBoard& w, TPieceCode piece, Square target);

// A pawn moving on clears its own player's mark right behind its source square.
void ClearOwnEnPassantMark(TBoard& w, TPieceCode piece, Square source);

// True when `target` lies on the promotion line of `pawn`'s owner.
bool OnPromotionLine(TPieceCode pawn, Square target);

} // namespace tavlon
