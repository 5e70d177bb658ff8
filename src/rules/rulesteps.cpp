#include "rules/rulesteps.h"

#include "model/position.h"
#include "model/startpos.h"

namespace tavlon {
namespace {

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

bool MoveCastlingRook(TBoard& w, TPieceCode piece, Square target, std::uint8_t rights[5],
                      std::uint64_t attacked) {
    if (!IsKing(piece))
        return false;
    const int p = OwnerOf(piece);
    if (rights[p] != 2)
        return false;
    const HomeSquares& h = kHomeSquares[p];
    if (target == h.rook)
        return false; // the king would replace the rook and the rook would vanish
    if (w.at(h.corner) == KingAndRookCodes[4 + p] && w.at(h.rook) == kEmpty &&
        (attacked & SquareBit(h.rook)) == 0) {
        w.at(h.corner) = kEmpty;
        w.at(h.rook) = KingAndRookCodes[4 + p];
        rights[p] = 0;
        return true;
    }
    return false;
}

void SetEnPassantMark(TBoard& w, TPieceCode piece, Square source, Square target) {
    if (!IsPawn(piece))
        return;
    const int p = OwnerOf(piece);
    const PawnLines& lines = kPawnLines[p];
    const Square step = lines.forward;
    const int sign = step.c + step.r;
    if (PawnLineOf(p, source) != lines.start || PawnLineOf(p, target) != lines.start + 2 * sign)
        return;
    // Beside the arrival square: to the left of the direction of travel stand the pawns
    // of the next two players that may take, to the right those of the two after them.
    const Square left{step.r, -step.c};
    const int next = NextPlayer(p), after = NextPlayer(next), last = NextPlayer(after);
    if (PawnOfEither(w, target.c + left.c, target.r + left.r, next, after) ||
        PawnOfEither(w, target.c - left.c, target.r - left.r, after, last))
        w.at(target.c - step.c, target.r - step.r) = CodeOf(p, kPassMark);
}

Square TakeEnPassant(TBoard& w, TPieceCode piece, Square target) {
    if (!IsPawn(piece))
        return {};
    const TPieceCode mark = w.at(target);
    if (!IsPassMark(mark) || OwnerOf(mark) == OwnerOf(piece))
        return {};
    // The passed pawn landed one step further along its own direction of travel.
    const Square step = kPawnLines[OwnerOf(mark)].forward;
    const int c = target.c + step.c;
    const int r = target.r + step.r;
    if (!OnBoard(c, r))
        return {};
    w.at(c, r) = kEmpty;
    return {c, r};
}

void ClearOwnEnPassantMark(TBoard& w, TPieceCode piece, Square source) {
    if (!IsPawn(piece))
        return;
    const int p = OwnerOf(piece);
    const Square step = kPawnLines[p].forward;
    const int c = source.c - step.c;
    const int r = source.r - step.r;
    if (OnBoard(c, r) && w.at(c, r) == CodeOf(p, kPassMark))
        w.at(c, r) = kEmpty;
}

bool OnPromotionLine(TPieceCode pawn, Square target) {
    return OnPawnPromotionLine(OwnerOf(pawn), target);
}

} // namespace tavlon
