// Pixels of the board image and of the setup panel turned into what the game judges:
// squares and hit areas. The game itself never sees a pixel.
#pragma once

#include "flow/game.h"
#include "model/pawnlines.h"
#include "ui/figurestore.h"

namespace tavlon::ui {

// The board may be shown turned by quarter turns anticlockwise (0..3), the pieces upright.
// The cell of the picture on the screen (column, row 1..8 from the top-left) where square
// `sq` is shown.
constexpr Square CellShowing(Square sq, int quarterTurns) {
    for (int i = 0; i < quarterTurns; ++i)
        sq = {sq.r, 9 - sq.c}; // the left edge goes to the bottom
    return sq;
}

// The square shown in `cell` of the picture turned by `quarterTurns`.
constexpr Square SquareIn(Square cell, int quarterTurns) {
    for (int i = 0; i < quarterTurns; ++i)
        cell = {9 - cell.r, cell.c};
    return cell;
}

// The quarter turns that bring player p's army to the bottom edge, where White's stands:
// the turn that makes p's pawns advance up the screen. 0 for anyone but players 1..4.
constexpr int QuarterTurnsToward(int player) {
    if (player < 1 || player > 4)
        return 0;
    Square forward = kPawnLines[player].forward;
    for (int turns = 0; turns < 4; ++turns) {
        if (forward.c == 0 && forward.r == -1)
            return turns;
        forward = {forward.r, -forward.c};
    }
    return 0;
}

// The square under pixel (x, y) of the 320 x 320 board image showing the board turned by
// `quarterTurns`, and whether (x, y) lies on the start button drawn on the intro picture
// (90..220 x 60..100, both ends included).
constexpr BoardPoint BoardPointAt(int x, int y, int quarterTurns = 0) {
    BoardPoint at;
    at.onBoard = x >= 0 && x < kBoardSide && y >= 0 && y < kBoardSide;
    if (at.onBoard)
        at.square = SquareIn({x / kCell + 1, y / kCell + 1}, quarterTurns);
    at.onIntroStart = at.onBoard && x >= 90 && x <= 220 && y >= 60 && y <= 100;
    return at;
}

// True when pixel (x, y) of the setup panel lies inside the "Начать игру" button
// (263..380 x 44..65, both ends excluded).
constexpr bool OverSetupStartButton(int x, int y) {
    return x > 263 && x < 380 && y > 44 && y < 65;
}

} // namespace tavlon::ui
