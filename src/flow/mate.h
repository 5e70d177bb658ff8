// Mate: the player to move is in check and nothing they may play lifts it.
#pragma once

#include "model/gamestate.h"

namespace tavlon {

// True when the king of s.SideToMove stands attacked on the board of CurrentPly (see
// SquareAttacked) and every move the rules let that player make leaves it attacked. A move
// is judged as a click would be (geometry, no own pieces or marks, no king taken, the king
// never onto a marked square) and carried out with its rule steps (the castling rook, en
// passant) before the king is looked at again. The marks of a picked king are seen through.
// The rules-off box is not consulted: the verdict is about the position. Allocates nothing.
bool IsMated(const GameState& s);

} // namespace tavlon
