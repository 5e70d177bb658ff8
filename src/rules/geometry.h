// Movement rules of the pieces, asked about one candidate square at a time.
#pragma once

#include "model/position.h"

namespace tavlon {

// The refusals added to the geometry: a piece never lands on a king or on a square of its
// own player's (a piece or an en-passant mark), and a king never on a square its pick
// marked as attacked.
constexpr bool LandingRefused(TPieceCode piece, TPieceCode there) {
    return IsKing(there) || OwnerOf(piece) == OwnerOf(there) ||
           (IsKing(piece) && there == kAttackMark);
}

// Geometry verdict for `piece` going from `source` to `target` on board `b` (the board as
// the picked piece sees it: a picked king's with its attack marks), with the pawn direction,
// the pawn flags and the king's home taken from pos.side and pos.flags. False for a code
// that is no piece.
bool PieceGeometry(const TBoard& b, const Position& pos, TPieceCode piece, Square source,
                   Square target);

} // namespace tavlon
