// The squares a picked king may not enter: the attacked-square marks.
#pragma once

#include "model/codes.h"

namespace tavlon {

// With `king` one of 18, 28, 38, 48: writes 99 into every free square that the other
// three players attack (kings, inner pawns, knights, the last-found rook and bishop of
// each player). Any other code changes nothing. Where a rook or bishop walk covers an
// en-passant mark, the mark is kept in covered[offset] so clearing can give it back.
void MarkAttackedSquares(TBoard& b, TPieceCode king, TPieceCode covered[64]);

// Every 99 of the board becomes 0, or the en-passant mark it covered.
void ClearTargetMarks(TBoard& b, const TPieceCode covered[64]);

} // namespace tavlon
