// What a position is worth to one player, in hundredths of a pawn.
#pragma once

#include "model/position.h"

namespace tavlon {

// The board's worth to `player` against the mean of the three others: material kept, pieces
// left hanging to any opponent, the squares its pieces reach, its pawns' progress toward
// their promotion line and its king's free squares. The score already won is the search's to
// add. Allocates nothing.
int Evaluate(const Position& pos, int player);

// The material and pawn-progress part of Evaluate alone, much cheaper; Evaluate differs from
// it by at most kLazyMargin in all but crowded positions.
int EvaluateMaterial(const Position& pos, int player);
constexpr int kLazyMargin = 300;

} // namespace tavlon
