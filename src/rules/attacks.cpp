#include "rules/attacks.h"

#include "rules/patterns.h"

namespace tavlon {
namespace {

constexpr int Offset(int c, int r) {
    return (c - 1) * 8 + (r - 1);
}

// Free for the walks of rooks and bishops: empty, an en-passant mark or already marked.
constexpr bool FreeForWalk(TPieceCode code) {
    return code == kEmpty || IsPassMark(code) || code == kAttackMark;
}

// Writes the marks of one pick. Whatever a mark covers is kept in `covered` so that clearing
// can give it back; an empty square covered now resets an entry left from an earlier pick.
class Marker {
  public:
    Marker(TBoard& b, TPieceCode* covered) : b_(b), covered_(covered) {}

    // Kings, pawns and knights mark only empty squares.
    void Mark(int c, int r) {
        if (!OnBoard(c, r) || b_.at(c, r) != kEmpty)
            return;
        Cover(c, r);
    }

    void Steps(Square from, const patterns::Step* steps, int count) {
        for (int i = 0; i < count; ++i)
            Mark(from.c + steps[i].dc, from.r + steps[i].dr);
    }

    // Rooks and bishops mark every free square up to the first one that is not free.
    void Walk(Square from, patterns::Step d) {
        for (int c = from.c + d.dc, r = from.r + d.dr; OnBoard(c, r); c += d.dc, r += d.dr) {
            const TPieceCode code = b_.at(c, r);
            if (!FreeForWalk(code))
                return;
            if (code != kAttackMark)
                Cover(c, r);
        }
    }

  private:
    void Cover(int c, int r) {
        covered_[Offset(c, r)] = b_.at(c, r);
        b_.at(c, r) = kAttackMark;
    }

    TBoard& b_;
    TPieceCode* covered_;
};

// Square of the last piece `kind` of each player found scanning column by column, each column
// top to bottom; column 0 where the player has none.
void FindLast(const TBoard& b, int kind, Square last[5]) {
    for (int p = 1; p <= 4; ++p)
        last[p] = {};
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r) {
            const TPieceCode code = b.at(c, r);
            if (IsPieceOwner(OwnerOf(code)) && KindOf(code) == kind)
                last[OwnerOf(code)] = {c, r};
        }
}

} // namespace

void MarkAttackedSquares(TBoard& b, TPieceCode king, TPieceCode covered[64]) {
    if (!IsKing(king))
        return;
    const int picker = OwnerOf(king);
    const auto other = [picker](TPieceCode code) {
        return IsPieceOwner(OwnerOf(code)) && OwnerOf(code) != picker;
    };
    Marker marker(b, covered);

    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            if (IsKing(b.at(c, r)) && other(b.at(c, r)))
                marker.Steps({c, r}, patterns::kKingSteps, 8);

    // Pawns on the outer ring attack nothing.
    for (int c = 2; c <= 7; ++c)
        for (int r = 2; r <= 7; ++r)
            if (IsPawn(b.at(c, r)) && other(b.at(c, r)))
                marker.Steps({c, r}, patterns::kPawnCaptures[OwnerOf(b.at(c, r))], 2);

    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            if (KindOf(b.at(c, r)) == kKnight && other(b.at(c, r)))
                marker.Steps({c, r}, patterns::kKnightJumps, 8);

    // One rook and one bishop per player: a second one, from a promotion, is not looked at.
    Square last[5];
    FindLast(b, kRook, last);
    for (int q = 1; q <= 4; ++q)
        if (q != picker && last[q].c != 0)
            for (const auto& d : patterns::kRookLines)
                marker.Walk(last[q], d);
    FindLast(b, 5, last);
    for (int q = 1; q <= 4; ++q)
        if (q != picker && last[q].c != 0)
            for (const auto& d : patterns::kBishopLines)
                marker.Walk(last[q], d);
}

void ClearTargetMarks(TBoard& b, const TPieceCode covered[64]) {
    for (int i = 0; i < 64; ++i)
        if (b.cells[i] == kAttackMark)
            b.cells[i] = covered[i];
}

} // namespace tavlon
