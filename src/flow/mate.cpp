#include "flow/mate.h"

#include "flow/rulesteps.h"
#include "rules/attacks.h"
#include "rules/geometry.h"
#include "rules/incheck.h"
#include "rules/patterns.h"

namespace tavlon {
namespace {

// One player's search for a move that leaves their king unattacked, on a board without
// a pick's marks.
class EscapeSearch {
  public:
    EscapeSearch(const GameState& s, const TBoard& b, Square king)
        : s_(s), b_(b), king_(king), player_(s.SideToMove) {}

    bool FromSquare(Square from) {
        const TPieceCode piece = b_.at(from);
        switch (KindOf(piece)) {
        case kPawn1:
        case kPawn1 + 1:
        case kPawn1 + 2:
        case kPawn4:
            return Pawn(from, piece);
        case kBishop:
            return Lines(from, piece, patterns::kBishopLines);
        case kKnight:
            for (const auto& j : patterns::kKnightJumps)
                if (Try(b_, from, {from.c + j.dc, from.r + j.dr}, piece, nullptr))
                    return true;
            return false;
        case kRook:
            return Lines(from, piece, patterns::kRookLines);
        case kKing:
            return King(from, piece);
        default:
            return false;
        }
    }

  private:
    bool Pawn(Square from, TPieceCode piece) {
        const auto f = patterns::kPawnForward[player_];
        for (int k = 1; k <= 2; ++k)
            if (Try(b_, from, {from.c + f.dc * k, from.r + f.dr * k}, piece, nullptr))
                return true;
        for (const auto& d : patterns::kPawnCaptures[player_])
            if (Try(b_, from, {from.c + d.dc, from.r + d.dr}, piece, nullptr))
                return true;
        return false;
    }

    // Every square of each line up to and including the first one that is not empty;
    // the geometry has the last word on each.
    bool Lines(Square from, TPieceCode piece, const patterns::Step* lines) {
        for (int i = 0; i < 4; ++i)
            for (int c = from.c + lines[i].dc, r = from.r + lines[i].dr; OnBoard(c, r);
                 c += lines[i].dc, r += lines[i].dr) {
                if (Try(b_, from, {c, r}, piece, nullptr))
                    return true;
                if (b_.at(c, r) != kEmpty)
                    break;
            }
        return false;
    }

    // The king is judged and moved on the board carrying its pick's marks, as in play; its
    // special move may take it to any square, so every square is asked.
    bool King(Square from, TPieceCode piece) {
        TBoard marked = b_;
        TPieceCode covered[64] = {};
        MarkAttackedSquares(marked, piece, covered);
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 8; ++r)
                if (Try(marked, from, {c, r}, piece, covered))
                    return true;
        return false;
    }

    // True when moving `piece` from `from` to `to` on `b` is accepted and leaves the king
    // unattacked.
    bool Try(const TBoard& b, Square from, Square to, TPieceCode piece, const TPieceCode* covered) {
        if (!OnBoard(to.c, to.r) || to == from)
            return false;
        if (LandingRefused(piece, b.at(to)))
            return false;
        std::uint8_t verdict = 0, special = 0;
        PieceGeometry(b, s_, piece, from, to, verdict, special);
        if (verdict != 1)
            return false;

        TBoard w = b;
        std::uint8_t rights[5];
        for (int p = 0; p < 5; ++p)
            rights[p] = s_.KingSpecialRights[p];
        MoveCastlingRook(w, piece, to, rights);
        SetEnPassantMark(w, piece, from, to);
        TakeEnPassant(w, piece, to);
        ClearOwnEnPassantMark(w, piece, from);
        if (covered)
            ClearTargetMarks(w, covered);
        // A promoted pawn's new kind does not matter: own pieces never attack their king.
        w.at(to) = piece;
        w.at(from) = kEmpty;
        return !SquareAttacked(w, IsKing(piece) ? to : king_, player_);
    }

    const GameState& s_;
    const TBoard& b_;
    Square king_;
    int player_;
};

} // namespace

bool IsMated(const GameState& s) {
    const int player = s.SideToMove;
    TBoard b = s.Board();
    ClearTargetMarks(b, s.CoveredPassMarks);
    Square king{};
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            if (b.at(c, r) == KingAndRookCodes[player])
                king = {c, r};
    if (king.c == 0 || !SquareAttacked(b, king, player))
        return false;
    EscapeSearch search(s, b, king);
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            if (OwnerOf(b.at(c, r)) == player && search.FromSquare({c, r}))
                return false;
    return true;
}

} // namespace tavlon
