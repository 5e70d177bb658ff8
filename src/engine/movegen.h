// The engine's own move listing: the same moves as ListLegalMoves, found without asking the
// rules one candidate square at a time.
#pragma once

#include "model/position.h"
#include "rules/moves.h"

#include <cstdint>

namespace tavlon {

// Lists into `out` exactly the moves ListLegalMoves lists for `pos` (in another order).
// Allocates nothing.
void GenerateMoves(const Position& pos, MoveList& out);

// The squares each player's pieces attack (where they could take a piece standing there),
// by player 1..4, as SquareBit masks; entry 0 is unused. Pawns on the outer ring count too.
struct AttackMaps {
    std::uint64_t by[5] = {};
};
void ComputeAttacks(const TBoard& b, AttackMaps& out);

} // namespace tavlon
