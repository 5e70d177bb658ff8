// What the pointer and the window's switches are doing: the pick of the two-click cycle, the
// hover verdict, the framed square and a promotion waiting for its choice. The game's record
// (gamestate.h) holds none of it.
#pragma once

#include "model/position.h"

#include <cstdint>

namespace tavlon {

struct InputState {
    std::uint8_t ClickPhase = 0;   // 0 nothing picked, 1 a piece picked, 2 a move chosen
    Square SourceSquare = {};      // the picked piece's square
    TPieceCode SelectedPiece = 0;  // the picked code
    std::uint8_t ClickAllowed = 0; // the verdict of the square last hovered
    Square HoverSquare = {};       // the square last hovered on the board
    Square MoveDelta = {};         // picked square minus hovered square
    Square FramedSquare = {};      // the square last clicked, framed while a piece is picked
    // The board the picked piece is judged on: a picked king's carries the attack marks.
    TBoard SeenBoard = {};
    // The move chosen by the second click; when a pawn reached its promotion line it waits
    // here for the chosen piece.
    Move PendingMove = {};
    std::uint8_t PromotionPending = 0;
    bool RulesOff = false; // the rules-off check box: any click of a person is accepted

    // Nothing picked and no promotion waiting.
    void DropPick() {
        PromotionPending = 0;
        ClickPhase = 0;
        SelectedPiece = 0;
    }
};

} // namespace tavlon
