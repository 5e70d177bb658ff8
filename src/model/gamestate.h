// The record of a game: the line of positions played, the notation lines and the check
// labels. What the pointer is doing lives on the input side (inputstate.h).
#pragma once

#include "model/codes.h"
#include "model/position.h"

#include <cstdint>

namespace tavlon {

// One notation line: a length byte and up to 255 single-byte characters.
struct ShortString {
    std::uint8_t len = 0;
    char text[255] = {};
};
static_assert(sizeof(ShortString) == 256);

struct GameState {
    // The line: the board and flags of every ply. Each ply keeps its own flags, so going
    // back along the line gives back the whole position of that ply.
    TBoard BoardHistory[kMaxPly + 1];
    PlyFlags Flags[kMaxPly + 1];
    std::uint16_t CurrentPly = 0;
    std::uint16_t LastPly = 0;
    std::uint8_t SideToMove = 1;
    std::uint8_t CheckFlags[5] = {}; // index 1..4: the "ШАХ!" label shows check
    int StartLayout[8] = {};
    ShortString MoveTexts[kMaxPly + 1];
    // A game has been started: the intro picture is gone.
    std::uint8_t GameStarted = 0;

    TBoard& Board() { return BoardHistory[CurrentPly]; }
    const TBoard& Board() const { return BoardHistory[CurrentPly]; }
    PlyFlags& CurrentFlags() { return Flags[CurrentPly]; }
    const PlyFlags& CurrentFlags() const { return Flags[CurrentPly]; }

    // The position of `ply` of the line: its board and flags, and the player to move there
    // counted along the turn order from the position in play.
    Position PositionAt(std::uint16_t ply) const {
        const int steps = static_cast<int>(ply) - static_cast<int>(CurrentPly);
        const int side = ((SideToMove - 1 + steps) % kPlayers + kPlayers) % kPlayers + 1;
        return {BoardHistory[ply], static_cast<std::uint8_t>(side), Flags[ply]};
    }
    Position Current() const { return {Board(), SideToMove, CurrentFlags()}; }

    // Moves the position in play to `ply` without a move (a new game, a set-up position,
    // a template): the flags in play go along with it.
    void CarryFlagsTo(std::uint16_t ply) {
        Flags[ply] = CurrentFlags();
        CurrentPly = ply;
    }
};

} // namespace tavlon
