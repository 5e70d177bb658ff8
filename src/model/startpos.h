// Reset of the game state, the start layouts and the flags derived from a board.
#pragma once

#include "model/gamestate.h"
#include "model/pawnlines.h"

namespace tavlon {

// Home squares of one player's king and rook and the two squares the king's special
// move depends on (the corner, where the bishop starts, and the knight's start square).
struct HomeSquares {
    Square king, rook, corner, knight;
};
// Index 1..4; entry 0 unused.
extern const HomeSquares kHomeSquares[5];

// The game-state part of the reset run at window creation and by New game (the pick is
// dropped by its owner).
void StartUpReset(GameState& s);

// Fills board `ply`: mode 0 empties it, 1 places the four kings, 2 the whole start
// position from StartLayout. Other modes do nothing.
void PlacePieces(GameState& s, std::uint16_t ply, std::uint8_t mode);

// Sets StartLayout to the values New game uses.
void SetStandardLayout(GameState& s);

// Fills `b` as PlacePieces does, from `layout`.
void PlaceStartPieces(TBoard& b, const int layout[8], std::uint8_t mode);

// Recomputes the king rights and the start flags of the pawns standing on `b` into `flags`;
// the flags of pawns not on the board keep their values.
void DeriveStartFlags(const TBoard& b, PlyFlags& flags);
// The same for board `ply` of the line and its flags.
void DeriveStartFlags(GameState& s, std::uint16_t ply);

} // namespace tavlon
