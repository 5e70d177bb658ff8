// Kings in check on the whole board: every piece's attack, not only the piece that moved.
#pragma once

#include "model/codes.h"

namespace tavlon {

// True when a pawn, knight, rook or bishop of a player other than `player` attacks `sq`:
// pawns on their two forward diagonals, knights on their jumps, rooks and bishops along
// their lines up to the first square that holds a piece (empty squares, en-passant marks and
// 99 let a line pass). A king gives no check: kings are never captured.
bool SquareAttacked(const TBoard& b, Square sq, int player);

// inCheck[p] (p = 1..4) := player p's king stands on `b` and is attacked by another player.
void KingsInCheck(const TBoard& b, bool inCheck[5]);

// True when a move from `before` to `after` gives check: some king stands in check on
// `after` that did not on `before` (a check left standing by other players is not given
// again by every move made meanwhile).
bool GivesCheck(const TBoard& before, const TBoard& after);

} // namespace tavlon
