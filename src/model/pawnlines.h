// Where each player's pawns go: one table for the four armies instead of a switch per rule.
#pragma once

#include "model/codes.h"

namespace tavlon {

// A player's pawns travel along `forward` (dc, dr). Their lines run across that direction:
// rows for White and Green, columns for Red and Brown.
struct PawnLines {
    Square forward;
    int start;     // the line the pawns start on
    int promotion; // the line where a pawn is promoted
};

// Index 1..4; entry 0 unused.
inline constexpr PawnLines kPawnLines[5] = {
    {{0, 0}, 0, 0},  {{0, -1}, 7, 1}, // White, upwards
    {{1, 0}, 2, 8},                   // Red, to the right
    {{0, 1}, 2, 8},                   // Green, downwards
    {{-1, 0}, 7, 1},                  // Brown, to the left
};

// The line of player p's pawn lines on which `at` lies.
constexpr int PawnLineOf(int p, Square at) {
    return kPawnLines[p].forward.r != 0 ? at.r : at.c;
}

// True when `at` lies on the line where player p's pawns start.
constexpr bool OnPawnStartLine(int p, Square at) {
    return IsPieceOwner(p) && PawnLineOf(p, at) == kPawnLines[p].start;
}

// True when `at` lies on the line where player p's pawns are promoted.
constexpr bool OnPawnPromotionLine(int p, Square at) {
    return IsPieceOwner(p) && PawnLineOf(p, at) == kPawnLines[p].promotion;
}

} // namespace tavlon
