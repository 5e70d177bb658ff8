#include "rules/attacks.h"

#include "model/position.h"
#include "rules/patterns.h"

namespace tavlon {
namespace {

// Collects the marks of one pick.
class Marker {
  public:
    explicit Marker(const TBoard& b) : b_(b) {}

    // Kings, pawns and knights mark only empty squares.
    void Steps(Square from, const patterns::Step* steps, int count) {
        for (int i = 0; i < count; ++i) {
            const int c = from.c + steps[i].dc, r = from.r + steps[i].dr;
            if (OnBoard(c, r) && b_.at(c, r) == kEmpty)
                mask_ |= SquareBit({c, r});
        }
    }

    // Rooks and bishops mark every free square (empty or an en-passant mark) up to the first
    // one that holds a piece.
    void Walk(Square from, patterns::Step d) {
        for (int c = from.c + d.dc, r = from.r + d.dr; OnBoard(c, r); c += d.dc, r += d.dr) {
            const TPieceCode code = b_.at(c, r);
            if (code != kEmpty && !IsPassMark(code))
                return;
            mask_ |= SquareBit({c, r});
        }
    }

    std::uint64_t Mask() const { return mask_; }

  private:
    const TBoard& b_;
    std::uint64_t mask_ = 0;
};

} // namespace

std::uint64_t KingAttackMask(const TBoard& b, int player) {
    Marker marker(b);
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r) {
            const TPieceCode code = b.at(c, r);
            if (!IsPiece(code) || OwnerOf(code) == player)
                continue;
            switch (KindOf(code)) {
            case kKing:
                marker.Steps({c, r}, patterns::kKingSteps, 8);
                break;
            case kKnight:
                marker.Steps({c, r}, patterns::kKnightJumps, 8);
                break;
            case kRook:
                for (const auto& d : patterns::kRookLines)
                    marker.Walk({c, r}, d);
                break;
            case kBishop:
                for (const auto& d : patterns::kBishopLines)
                    marker.Walk({c, r}, d);
                break;
            default:
                // Pawns on the outer ring attack nothing.
                if (c >= 2 && c <= 7 && r >= 2 && r <= 7)
                    marker.Steps({c, r}, patterns::kPawnCaptures[OwnerOf(code)], 2);
                break;
            }
        }
    return marker.Mask();
}

TBoard WithAttackMarks(const TBoard& b, std::uint64_t mask) {
    TBoard marked = b;
    for (int i = 0; i < 64; ++i)
        if ((mask >> i) & 1U)
            marked.cells[i] = kAttackMark;
    return marked;
}

} // namespace tavlon
