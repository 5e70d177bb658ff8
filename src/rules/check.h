// Check detection: which kings the piece that has just moved attacks from its target.
#pragma once

#include "model/codes.h"

#include <cstdint>

namespace tavlon {

// Step 1 of check detection. `w` is the working board before the piece leaves its source;
// `side` is the mover. Sets flags[p] := p for every player whose king `piece` attacks from
// `target` (pawn diagonals forward, knight jumps, rook and bishop rays that do not stop at
// pieces; a king or any other code examines nothing). Never flags `side`; other entries
// are left as they are.
void DetectCheckFlags(const TBoard& w, TPieceCode piece, Square target, int side,
                      std::uint8_t flags[5]);

} // namespace tavlon
