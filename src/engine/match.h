// Games between computer players, for measuring the levels against each other.
#pragma once

#include "engine/search.h"

#include <cstdint>

namespace tavlon {

// Who plays a seat: 0 a player choosing uniformly among the legal moves, 1..3 the levels.
using MatchPlayer = int;

// One game from the start position: seat p (1..4) is played by seats[p - 1], for `plies`
// plies (a seat with no legal move passes: the next player is to move, the board unchanged).
// `timePercent` scales the levels' thinking time. Writes each seat's score (the value of the
// pieces it took) into scores[1..4]; `seed` decides the random movers and the Novice.
void PlayMatchGame(Engine& engine, const MatchPlayer seats[4], int plies, std::uint32_t seed,
                   int timePercent, int scores[5]);

// The mean of `n` samples and the half width of its 95 % interval (normal approximation).
struct MeanInterval {
    double mean = 0, halfWidth = 0;
};
MeanInterval MeanWithInterval(const int* samples, int n);

} // namespace tavlon
