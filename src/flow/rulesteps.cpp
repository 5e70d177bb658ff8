#include "flow/rulesteps.h"

#include "model/startpos.h"

namespace tavlon {
namespace {

// Direction of travel of each player's pawns as (dc, dr).
constexpr Square kForward[5] = {{0, 0}, {0, -1}, {1, 0}, {0, 1}, {-1, 0}};

bool PawnOf(TPieceCode code, int owner) {
    return IsPawn(code) && OwnerOf(code) == owner;
}

// True when (c, r) is on the board and holds a pawn of one of the two owners.
bool PawnOfEither(const TBoard& w, int c, int r, int a, int b) {
    if (!OnBoard(c, r))
        return false;
    const TPieceCode code = w.at(c, r);
    return PawnOf(code, a) || PawnOf(code, b);
}

} // namespace

void MoveCastlingRook(TBoard& w, TPieceCode piece, Square target, std::uint8_t rights[5]) {
    if (!IsKing(piece))
        return;
    const int p = OwnerOf(piece);
    if (rights[p] != 2)
        return;
    const HomeSquares& h = kHomeSquares[p];
    if (target == h.rook)
        return; // the king would replace the rook and the rook would vanish
    if (w.at(h.corner) == KingAndRookCodes[4 + p] && w.at(h.rook) == kEmpty) {
        w.at(h.corner) = kEmpty;
        w.at(h.rook) = KingAndRookCodes[4 + p];
        rights[p] = 0;
    }
}

void SetEnPassantMark(TBoard& w, TPieceCode piece, Square source, Square target) {
    if (!IsPawn(piece))
        return;
    const int tc = target.c;
    const int tr = target.r;
    switch (OwnerOf(piece)) {
    case 1:
        if (source.r == 7 && tr == 5 &&
            (PawnOfEither(w, tc - 1, tr, 2, 3) || PawnOfEither(w, tc + 1, tr, 3, 4)))
            w.at(tc, tr + 1) = 10;
        break;
    case 2:
        if (source.c == 2 && tc == 4 &&
            (PawnOfEither(w, tc, tr + 1, 1, 4) || PawnOfEither(w, tc, tr - 1, 3, 4)))
            w.at(tc - 1, tr) = 20;
        break;
    case 3:
        if (source.r == 2 && tr == 4 &&
            (PawnOfEither(w, tc - 1, tr, 1, 2) || PawnOfEither(w, tc + 1, tr, 1, 4)))
            w.at(tc, tr - 1) = 30;
        break;
    case 4:
        if (source.c == 7 && tc == 5 &&
            (PawnOfEither(w, tc, tr + 1, 1, 2) || PawnOfEither(w, tc, tr - 1, 2, 3)))
            w.at(tc + 1, tr) = 40;
        break;
    default:
        break;
    }
}

void TakeEnPassant(TBoard& w, TPieceCode piece, Square target) {
    if (!IsPawn(piece))
        return;
    const TPieceCode mark = w.at(target);
    if (!IsPassMark(mark) || OwnerOf(mark) == OwnerOf(piece))
        return;
    // The passed pawn landed one step further along its own direction of travel.
    const Square step = kForward[OwnerOf(mark)];
    const int c = target.c + step.c;
    const int r = target.r + step.r;
    if (OnBoard(c, r))
        w.at(c, r) = kEmpty;
}

void ClearOwnEnPassantMark(TBoard& w, TPieceCode piece, Square source) {
    if (!IsPawn(piece))
        return;
    const int p = OwnerOf(piece);
    const Square step = kForward[p];
    const int c = source.c - step.c;
    const int r = source.r - step.r;
    if (OnBoard(c, r) && w.at(c, r) == p * 10)
        w.at(c, r) = kEmpty;
}

bool OnPromotionLine(TPieceCode pawn, Square target) {
    switch (OwnerOf(pawn)) {
    case 1:
        return target.r == 1;
    case 2:
        return target.c == 8;
    case 3:
        return target.r == 8;
    case 4:
        return target.c == 1;
    default:
        return false;
    }
}

} // namespace tavlon
