// A long line of play made up for the benchmarks.
#pragma once

#include "model/gamestate.h"

#include <cstdio>

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

} // namespace tavlon
