// Pixels of the board image and of the setup panel turned into what the game judges:
// squares and hit areas. The game itself never sees a pixel.
#pragma once

#include "flow/game.h"
#include "ui/figurestore.h"

namespace tavlon::ui {

// The square under pixel (x, y) of the 320 x 320 board image, and whether (x, y) lies on
// the start button drawn on the intro picture (90..220 x 60..100, both ends included).
constexpr BoardPoint BoardPointAt(int x, int y) {
    BoardPoint at;
    at.onBoard = x >= 0 && x < kBoardSide && y >= 0 && y < kBoardSide;
    if (at.onBoard)
        at.square = {x / kCell + 1, y / kCell + 1};
    at.onIntroStart = at.onBoard && x >= 90 && x <= 220 && y >= 60 && y <= 100;
    return at;
}

// True when pixel (x, y) of the setup panel lies inside the "Начать игру" button
// (263..380 x 44..65, both ends excluded).
constexpr bool OverSetupStartButton(int x, int y) {
    return x > 263 && x < 380 && y > 44 && y < 65;
}

} // namespace tavlon::ui
