#include "engine/perft.h"

#include "rules/moves.h"

namespace tavlon {
namespace {

// `lists` holds one move list per ply still to go, made once for the whole count.
std::uint64_t Count(const Position& pos, int depth, MoveList* lists) {
    MoveList& moves = lists[depth - 1];
    ListLegalMoves(pos, moves);
    // Every listed move can be carried out, so the last ply is counted without playing it.
    if (depth == 1)
        return static_cast<std::uint64_t>(moves.size);
    std::uint64_t leaves = 0;
    for (const Move& m : moves) {
        Position next = pos;
        CarryOut(next, m);
        leaves += Count(next, depth - 1, lists);
    }
    return leaves;
}

} // namespace

std::uint64_t Perft(const Position& pos, int depth) {
    if (depth <= 0)
        return 1;
    MoveList lists[kMaxPerftDepth];
    return Count(pos, depth, lists);
}

} // namespace tavlon
