#include "editor/figures.h"

namespace tavlon {

bool OnForbiddenPawnLine(int owner, Square at) {
    if (owner == 1 || owner == 3)
        return at.r == 1 || at.r == 8;
    return at.c == 1 || at.c == 8;
}

int FreePawnNumber(const TBoard& board, int owner) {
    bool standing[5] = {};
    for (TPieceCode code : board.cells)
        if (IsPawn(code) && OwnerOf(code) == owner)
            standing[KindOf(code)] = true;
    for (int number = 1; number <= 4; ++number)
        if (!standing[number])
            return number;
    return 0;
}

bool KingOnBoard(const TBoard& board, int owner) {
    for (TPieceCode code : board.cells)
        if (IsKing(code) && OwnerOf(code) == owner)
            return true;
    return false;
}

bool HasFourDifferentKings(const TBoard& board) {
    int kings = 0;
    bool seen[5] = {};
    for (TPieceCode code : board.cells)
        if (IsKing(code)) {
            ++kings;
            seen[OwnerOf(code)] = true;
        }
    return kings == 4 && seen[1] && seen[2] && seen[3] && seen[4];
}

} // namespace tavlon
