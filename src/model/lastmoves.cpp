#include "model/lastmoves.h"

namespace tavlon {
namespace {

// Pieces only: marks and empty squares all read as 0.
TPieceCode PieceOn(const TBoard& b, int i) {
    const TPieceCode code = b.cells[i];
    return IsPiece(code) ? code : kEmpty;
}

Square SquareOf(int i) {
    return {i / 8 + 1, i % 8 + 1};
}

} // namespace

PlayerMove MoveBetween(const TBoard& before, const TBoard& after) {
    // Squares a piece left and squares a piece arrived on (a capture counts as arrived).
    int left[64], arrived[64];
    int nLeft = 0, nArrived = 0;
    for (int i = 0; i < 64; ++i) {
        const TPieceCode was = PieceOn(before, i), is = PieceOn(after, i);
        if (was == is)
            continue;
        if (is == kEmpty)
            left[nLeft++] = i;
        else
            arrived[nArrived++] = i;
    }
    // A piece that left one square and arrived on another; the king's step wins over the
    // rook jumping with it.
    int from = -1, to = -1;
    for (int a = 0; a < nArrived; ++a)
        for (int l = 0; l < nLeft; ++l)
            if (PieceOn(before, left[l]) == PieceOn(after, arrived[a]) &&
                (to < 0 || IsKing(PieceOn(after, arrived[a])))) {
                from = left[l];
                to = arrived[a];
            }
    if (to < 0 && nArrived > 0) {
        // A promotion: the pawn left, another kind of its owner arrived.
        to = arrived[0];
        from = to;
        for (int l = 0; l < nLeft; ++l)
            if (OwnerOf(PieceOn(before, left[l])) == OwnerOf(PieceOn(after, to)))
                from = left[l];
        if (from == to && nLeft > 0)
            from = left[0];
    }
    if (to < 0 && nLeft > 0)
        from = to = left[0];
    if (to < 0)
        return {};
    return {SquareOf(from), SquareOf(to)};
}

void DeriveLastMoves(const TBoard history[], std::uint16_t ply, int sideToMove,
                     PlayerMove moves[5]) {
    for (int p = 1; p <= 4; ++p)
        moves[p] = {};
    int mover = sideToMove;
    // The last four moves were made by four different players.
    for (int k = ply - 1; k >= 1 && k >= ply - 4; --k) {
        mover = PrevPlayer(mover);
        moves[mover] = MoveBetween(history[k], history[k + 1]);
    }
}

} // namespace tavlon
