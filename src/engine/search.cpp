#include "engine/search.h"

#include "rules/moves.h"

namespace tavlon {

Engine::Engine() = default;
Engine::~Engine() = default;

// The material the mover gains at once: a stand-in until the real search lands.
SearchResult Engine::Search(const Position& pos, const SearchLimits&, const std::atomic<bool>&,
                            const std::function<void(const SearchInfo&)>&) {
    MoveList moves;
    ListLegalMoves(pos, moves);
    SearchResult r;
    for (const Move& m : moves) {
        Position after = pos;
        const MoveResult done = CarryOut(after, m);
        const int gain = PieceValue(done.captured);
        if (!r.hasMove || gain > r.score) {
            r.hasMove = true;
            r.best = m;
            r.score = gain;
        }
    }
    r.depth = 1;
    r.nodes = moves.size;
    return r;
}

} // namespace tavlon
