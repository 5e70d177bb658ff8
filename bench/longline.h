// Lines and positions of play made up for the benchmarks.
#pragma once

#include "model/gamestate.h"
#include "model/startpos.h"
#include "rules/moves.h"

#include <cstdio>
#include <random>

namespace tavlon {

// Gives a started game the plies 2..`plies`, each with ply 1's board and a line of its own,
// and puts it at the last of them.
inline void MakeUpLine(GameState& s, std::uint16_t plies) {
    for (std::uint16_t p = 2; p <= plies; ++p) {
        s.BoardHistory[p] = s.BoardHistory[1];
        ShortString& line = s.MoveTexts[p];
        line.len = static_cast<std::uint8_t>(
            std::snprintf(line.text, sizeof line.text, "%d. D2D4\n\r", p - 1));
    }
    s.CurrentPly = s.LastPly = plies;
}

// A busy middle game: 20 moves chosen by a fixed seed from the start position.
inline Position BusyMiddleGame() {
    std::mt19937 rng(2026);
    Position pos = StartPosition();
    MoveList moves;
    for (int ply = 0; ply < 20; ++ply) {
        ListLegalMoves(pos, moves);
        if (moves.size == 0)
            break;
        CarryOut(pos, moves.moves[rng() % static_cast<unsigned>(moves.size)]);
    }
    return pos;
}

} // namespace tavlon
