// The squares a picked king may not enter: the attacked-square marks, kept as a mask.
#pragma once

#include "model/codes.h"

#include <cstdint>

namespace tavlon {

// The squares a picked king of `player` may not enter: every empty square that a king, an
// inner pawn (not on the board's outer ring) or a knight of another player attacks, and
// every free square (empty or an en-passant mark) on the lines of every rook and bishop of
// another player, up to the first square that holds a piece.
std::uint64_t KingAttackMask(const TBoard& b, int player);

// `b` as a picked king sees it: the attacked-square mark on every square of `mask`.
TBoard WithAttackMarks(const TBoard& b, std::uint64_t mask);

} // namespace tavlon
