// Step patterns of the pieces, shared by the movement, attack and check rules.
#pragma once

namespace tavlon::patterns {

struct Step {
    int dc, dr;
};

// The eight neighbouring squares.
inline constexpr Step kKingSteps[8] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                       {1, 0},   {-1, 1}, {0, 1},  {1, 1}};
// The eight knight's jumps.
inline constexpr Step kKnightJumps[8] = {{-2, -1}, {-1, -2}, {1, -2}, {2, -1},
                                         {2, 1},   {1, 2},   {-1, 2}, {-2, 1}};
// Straight lines: right, down, left, up.
inline constexpr Step kRookLines[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
// Diagonals: down-right, up-left, up-right, down-left.
inline constexpr Step kBishopLines[4] = {{1, 1}, {-1, -1}, {1, -1}, {-1, 1}};

// A pawn's direction of travel by player 1..4: White up, Red right, Green down, Brown left.
inline constexpr Step kPawnForward[5] = {{0, 0}, {0, -1}, {1, 0}, {0, 1}, {-1, 0}};
// A pawn's two diagonal capture squares by player 1..4: one square forward and one aside.
inline constexpr Step kPawnCaptures[5][2] = {{{0, 0}, {0, 0}},
                                             {{-1, -1}, {1, -1}},
                                             {{1, -1}, {1, 1}},
                                             {{-1, 1}, {1, 1}},
                                             {{-1, -1}, {-1, 1}}};

} // namespace tavlon::patterns
