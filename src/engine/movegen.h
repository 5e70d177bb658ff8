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

// Of those moves, the ones that take a piece (a pawn onto another player's en-passant mark
// included) or promote a pawn.
void GenerateCaptures(const Position& pos, MoveList& out);

// The squares a picked king of `player` may not enter, exactly as KingAttackMask marks them.
std::uint64_t KingMarks(const TBoard& b, int player);

// The squares each player's pieces attack (where they could take a piece standing there),
// by player 1..4, as SquareBit masks; entry 0 is unused. Pawns on the outer ring count too.
struct AttackMaps {
    std::uint64_t by[5] = {};
    std::uint64_t held[5] = {};         // the squares of each player's pieces
    std::uint64_t cheap[5] = {};        // the part of `by` its king and pawns reach
    int king[5] = {-1, -1, -1, -1, -1}; // the board index of each player's king, -1 for none
};
void ComputeAttacks(const TBoard& b, AttackMaps& out);

// The neighbours of the square with board index `index` ((c - 1) * 8 + r - 1), as a mask.
std::uint64_t NeighbourMask(int index);

} // namespace tavlon
