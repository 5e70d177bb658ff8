// The state of a game the move cycle, the commands and the editor share: board history,
// cursors, flags and the move cycle.
#pragma once

#include "model/codes.h"

#include <cstdint>

namespace tavlon {

// One notation line: a length byte and up to 255 single-byte characters.
struct ShortString {
    std::uint8_t len = 0;
    char text[255] = {};
};
static_assert(sizeof(ShortString) == 256);

struct GameState {
    // History and turn.
    TBoard BoardHistory[kMaxPly + 1];
    std::uint16_t CurrentPly = 0;
    std::uint16_t LastPly = 0;
    std::uint8_t SideToMove = 1;
    std::uint8_t PawnStartFlags[256] = {};
    std::uint8_t KingSpecialRights[5] = {}; // index 1..4
    std::uint8_t CheckFlags[5] = {};        // index 1..4
    int StartLayout[8] = {};
    ShortString MoveTexts[kMaxPly + 1];

    // Move cycle.
    std::uint8_t ClickPhase = 0;
    Square ClickSquares[3] = {}; // [1] source, [2] target
    TPieceCode SelectedPiece = 0;
    std::uint8_t ClickAllowed = 0;
    Square HoverSquare = {};
    Square MoveDelta = {};    // picked square minus hovered square
    Square FramedSquare = {}; // the square last clicked, framed while a piece is picked
    // En-passant marks that an attack walk covered with 99, by board offset, so that
    // clearing the marks of a king's pick gives them back. 0 where nothing was covered.
    TPieceCode CoveredPassMarks[64] = {};

    // Promotion: the working copy of the board waits here while the choice is open.
    std::uint8_t PromotionPending = 0;
    TBoard PendingBoard = {};

    // Window state the game logic reads.
    std::uint8_t GameStarted = 0;
    bool RulesOff = false; // the rules-off check box

    Square& SourceSquare() { return ClickSquares[1]; }
    Square& TargetSquare() { return ClickSquares[2]; }
    Square SourceSquare() const { return ClickSquares[1]; }
    Square TargetSquare() const { return ClickSquares[2]; }
    TBoard& Board() { return BoardHistory[CurrentPly]; }
    const TBoard& Board() const { return BoardHistory[CurrentPly]; }
};

} // namespace tavlon
