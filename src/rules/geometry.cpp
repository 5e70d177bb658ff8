#include "rules/geometry.h"

#include "model/startpos.h"
#include "rules/patterns.h"

namespace tavlon {
namespace {

using patterns::Step;

constexpr int Abs(int v) {
    return v < 0 ? -v : v;
}
constexpr int Sign(int v) {
    return (v > 0) - (v < 0);
}

bool EmptyAt(const TBoard& b, int c, int r) {
    return OnBoard(c, r) && b.at(c, r) == kEmpty;
}

// Length of the walk from `from` along `d`: every empty square counts, and so does the first
// square that is not empty, which ends the walk; so does the edge. A mark is not empty here.
int Reach(const TBoard& b, Square from, Step d) {
    int n = 0;
    for (int c = from.c + d.dc, r = from.r + d.dr; OnBoard(c, r); c += d.dc, r += d.dr) {
        ++n;
        if (b.at(c, r) != kEmpty)
            break;
    }
    return n;
}

bool PawnRule(const TBoard& b, const Position& pos, TPieceCode piece, Square source, Square delta,
              TPieceCode hoverCode) {
    const bool mayDoubleStep = pos.flags.PawnMayDoubleStep(piece);
    const Step f = patterns::kPawnForward[pos.side];
    // Squares ahead that are empty, stopping at the first one that is not: 0, 1 or 2.
    int ahead = 0;
    while (ahead < 2 && EmptyAt(b, source.c + f.dc * (ahead + 1), source.r + f.dr * (ahead + 1)))
        ++ahead;
    // Distance travelled forward and sideways.
    const int forward = -(delta.c * f.dc + delta.r * f.dr);
    const int aside = Abs(delta.c * f.dr + delta.r * f.dc);
    const bool straight = aside == 0 && forward >= 1;
    const bool capture = forward == 1 && aside == 1 && hoverCode != kEmpty;
    const int maxStraight = mayDoubleStep ? ahead : (hoverCode == kEmpty ? 1 : 0);
    return (straight && forward <= maxStraight) || capture;
}

bool KnightRule(Square delta) {
    const int dc = Abs(delta.c), dr = Abs(delta.r);
    return (dc == 1 && dr == 2) || (dc == 2 && dr == 1);
}

bool BishopRule(const TBoard& b, Square source, Square delta) {
    if (Abs(delta.c) != Abs(delta.r))
        return false;
    if (delta.c == 0)
        return true;
    // The hovered square lies on the diagonal towards -delta; it passes up to the walk's end.
    return Abs(delta.c) <= Reach(b, source, {-Sign(delta.c), -Sign(delta.r)});
}

bool RookRule(const TBoard& b, Square source, Square hover) {
    const int left = source.c - Reach(b, source, {-1, 0});
    const int right = source.c + Reach(b, source, {1, 0});
    const int upper = source.r - Reach(b, source, {0, -1});
    const int lower = source.r + Reach(b, source, {0, 1});
    return (hover.r == source.r && left <= hover.c && hover.c <= right) ||
           (hover.c == source.c && upper <= hover.r && hover.r <= lower);
}

// The special move takes the king from its home square to any square while its knight's
// start square is empty and the player keeps the right.
bool KingRule(const TBoard& b, const Position& pos, Square source, Square delta) {
    const HomeSquares& home = kHomeSquares[pos.side];
    const int rights = pos.flags.kingRights[pos.side];
    const bool special =
        source == home.king && b.at(home.knight) == kEmpty && (rights == 1 || rights == 2);
    const int dc = Abs(delta.c), dr = Abs(delta.r);
    return dc + dr == 1 || (dc == 1 && dr == 1) || special;
}

} // namespace

bool PieceGeometry(const TBoard& b, const Position& pos, TPieceCode piece, Square source,
                   Square target) {
    if (!IsPieceOwner(OwnerOf(piece)))
        return false;
    // `delta` is source minus target throughout, as the move cycle keeps it.
    const Square delta{source.c - target.c, source.r - target.r};
    switch (KindOf(piece)) {
    case kPawn1:
    case kPawn1 + 1:
    case kPawn1 + 2:
    case kPawn4:
        return PawnRule(b, pos, piece, source, delta, b.at(target));
    case kBishop:
        return BishopRule(b, source, delta);
    case kKnight:
        return KnightRule(delta);
    case kRook:
        return RookRule(b, source, target);
    case kKing:
        return KingRule(b, pos, source, delta);
    default:
        return false;
    }
}

} // namespace tavlon
