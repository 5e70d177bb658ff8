// The leaves of the legal-move tree: the count every rule change shows up in.
#pragma once

#include "model/position.h"

#include <cstdint>

namespace tavlon {

constexpr int kMaxPerftDepth = 12;

// The number of move sequences `depth` moves long from `pos`, each move listed by
// ListLegalMoves and carried out with the rule steps (1 for depth 0). `depth` must be at
// most kMaxPerftDepth. Allocates nothing.
std::uint64_t Perft(const Position& pos, int depth);

} // namespace tavlon
