#include "engine/match.h"

#include "rules/moves.h"

#include <cmath>
#include <random>

namespace tavlon {

void PlayMatchGame(Engine& engine, const MatchPlayer seats[4], int plies, std::uint32_t seed,
                   int timePercent, int scores[5]) {
    std::mt19937 rng(seed);
    const std::atomic<bool> stop{false};
    Position pos = StartPosition();
    MoveList moves;
    for (int p = 0; p <= kPlayers; ++p)
        scores[p] = 0;
    for (int ply = 0; ply < plies; ++ply) {
        const MatchPlayer player = seats[pos.side - 1];
        ListLegalMoves(pos, moves);
        if (moves.size == 0) {
            pos.side = static_cast<std::uint8_t>(NextPlayer(pos.side));
            continue;
        }
        Move m = moves.moves[0];
        if (player == 0) {
            m = moves.moves[rng() % static_cast<unsigned>(moves.size)];
        } else {
            SearchLimits limits;
            limits.level = player;
            limits.seed = static_cast<std::uint32_t>(rng());
            limits.timePercent = timePercent;
            const SearchResult r = engine.Search(pos, limits, stop);
            m = r.best;
        }
        const int mover = pos.side;
        scores[mover] += PieceValue(CarryOut(pos, m).captured);
    }
}

MeanInterval MeanWithInterval(const int* samples, int n) {
    MeanInterval result;
    if (n <= 0)
        return result;
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += samples[i];
    result.mean = sum / n;
    if (n < 2)
        return result;
    double squares = 0;
    for (int i = 0; i < n; ++i)
        squares += (samples[i] - result.mean) * (samples[i] - result.mean);
    result.halfWidth = 1.96 * std::sqrt(squares / (n - 1) / n);
    return result;
}

} // namespace tavlon
