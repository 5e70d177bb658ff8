// Each player's most recent move, read back from the boards of the game line.
#pragma once

#include "model/codes.h"

#include <cstdint>

namespace tavlon {

// The squares a move left and reached. `to.c` is 0 when the move changed no piece; `from`
// equals `to` when only one square changed (a typed move of an empty square onto a piece,
// or of a piece onto its own square).
struct PlayerMove {
    Square from, to;
    bool Known() const { return to.c != 0; }
    friend constexpr bool operator==(PlayerMove, PlayerMove) = default;
};

// The move that turned `before` into `after`. Marks (en passant, 99) are read as empty
// squares; of the castling rook's jump and the king's step, the king's is the move; an
// en-passant capture is the pawn's step, not the pawn it removed.
PlayerMove MoveBetween(const TBoard& before, const TBoard& after);

// moves[p] (p = 1..4) := player p's most recent move on the line up to board `ply`, with
// `sideToMove` to move there. The move into board k + 1 (k >= 1) belongs to the player who
// was to move on board k, counted back along the turn order, whoever's piece it moved;
// a player who has not moved since board 1 gets an unknown move.
void DeriveLastMoves(const TBoard history[], std::uint16_t ply, int sideToMove,
                     PlayerMove moves[5]);

} // namespace tavlon
