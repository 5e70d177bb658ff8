// The figures of the setup editor and the placement rules that depend on the board alone.
#pragma once

#include "model/codes.h"

#include <string_view>

namespace tavlon {

// Highest figure index; figure 0 is "no figure".
inline constexpr int kLastFigure = 20;

// Figure index -> the code a placement writes. Per player p (1..4) five figures:
// pawn number 1, bishop, knight, rook, king. Pawn numbers 2..4 come from the numbering.
inline constexpr TPieceCode FigureCodes[kLastFigure + 1] = {
    0, 11, 15, 16, 17, 18, 21, 25, 26, 27, 28, 31, 35, 36, 37, 38, 41, 45, 46, 47, 48,
};

// Figure index of each player's pawn, index 1..4; entry 0 unused.
inline constexpr int PawnFigureIndexes[5] = {0, 1, 6, 11, 16};

// Reasons a pawn is refused, index 1..2; entry 0 unused.
inline constexpr std::string_view PawnSetupErrors[3] = {
    "",
    "Правила игры исключают возможность нахождения пешки на данной клетке.",
    "Количество пешек не должно превышать четырёх.",
};
inline constexpr std::string_view kKingLimitError =
    "У каждого игрока должно быть не более одного короля";

// Figure indexes of the four kings (keys 1..4 choose them).
constexpr int KingFigureIndex(int player) {
    return player * 5;
}

constexpr bool IsPawnFigure(int index) {
    return index >= 1 && index <= kLastFigure && IsPawn(FigureCodes[index]);
}

// True when a pawn of `owner` may not stand on `at`: the edge lines its pawns start
// behind or promote on (rows 1 and 8 for White and Green, columns 1 and 8 for Red and
// Brown).
bool OnForbiddenPawnLine(int owner, Square at);

// Lowest pawn number 1..4 of `owner` that is not on `board`; 0 when all four stand.
int FreePawnNumber(const TBoard& board, int owner);

// True when the king of `owner` stands anywhere on `board`.
bool KingOnBoard(const TBoard& board, int owner);

// True when `board` holds exactly four kings, one of each player.
bool HasFourDifferentKings(const TBoard& board);

// The figure after `index` for Space (20 wraps to 1, 0 is skipped) and before it for
// Backspace (stops at 0).
constexpr int NextFigure(int index) {
    return index >= kLastFigure ? 1 : index + 1;
}
constexpr int PreviousFigure(int index) {
    return index <= 0 ? 0 : index - 1;
}

} // namespace tavlon
