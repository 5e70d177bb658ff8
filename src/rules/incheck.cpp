#include "rules/incheck.h"

#include "rules/patterns.h"

namespace tavlon {
namespace {

// A piece of someone other than `player` of the given kind on (c, r).
bool EnemyAt(const TBoard& b, int c, int r, int player, int kind) {
    if (!OnBoard(c, r))
        return false;
    const TPieceCode code = b.at(c, r);
    const int owner = OwnerOf(code);
    return IsPieceOwner(owner) && owner != player && KindOf(code) == kind;
}

// The first piece seen from `sq` along `d`, or 0 when the line runs to the edge.
TPieceCode FirstPiece(const TBoard& b, Square sq, patterns::Step d) {
    for (int c = sq.c + d.dc, r = sq.r + d.dr; OnBoard(c, r); c += d.dc, r += d.dr) {
        const TPieceCode code = b.at(c, r);
        if (IsPiece(code))
            return code;
    }
    return kEmpty;
}

bool LineAttacker(TPieceCode code, int player, int kind) {
    return code != kEmpty && OwnerOf(code) != player && KindOf(code) == kind;
}

} // namespace

bool SquareAttacked(const TBoard& b, Square sq, int player) {
    for (const auto& j : patterns::kKnightJumps)
        if (EnemyAt(b, sq.c + j.dc, sq.r + j.dr, player, kKnight))
            return true;
    // A pawn of q on X attacks X + d, so it stands on sq - d.
    for (int q = 1; q <= 4; ++q) {
        if (q == player)
            continue;
        for (const auto& d : patterns::kPawnCaptures[q]) {
            const int c = sq.c - d.dc, r = sq.r - d.dr;
            if (OnBoard(c, r) && IsPawn(b.at(c, r)) && OwnerOf(b.at(c, r)) == q)
                return true;
        }
    }
    for (const auto& d : patterns::kRookLines)
        if (LineAttacker(FirstPiece(b, sq, d), player, kRook))
            return true;
    for (const auto& d : patterns::kBishopLines)
        if (LineAttacker(FirstPiece(b, sq, d), player, kBishop))
            return true;
    return false;
}

void KingsInCheck(const TBoard& b, bool inCheck[5]) {
    for (int p = 1; p <= 4; ++p)
        inCheck[p] = false;
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r) {
            const TPieceCode code = b.at(c, r);
            if (IsKing(code) && SquareAttacked(b, {c, r}, OwnerOf(code)))
                inCheck[OwnerOf(code)] = true;
        }
}

bool GivesCheck(const TBoard& before, const TBoard& after) {
    bool was[5];
    bool is[5];
    KingsInCheck(before, was);
    KingsInCheck(after, is);
    for (int p = 1; p <= 4; ++p)
        if (is[p] && !was[p])
            return true;
    return false;
}

} // namespace tavlon
