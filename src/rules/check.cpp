#include "rules/check.h"

#include "rules/patterns.h"

namespace tavlon {

void DetectCheckFlags(const TBoard& w, TPieceCode piece, Square target, int side,
                      std::uint8_t flags[5]) {
    const int owner = OwnerOf(piece);
    if (!IsPieceOwner(owner))
        return;
    const TPieceCode ownKing = KingAndRookCodes[side];
    const auto examine = [&](int c, int r) {
        if (!OnBoard(c, r))
            return;
        const TPieceCode code = w.at(c, r);
        if (IsKing(code) && code != ownKing)
            flags[OwnerOf(code)] = static_cast<std::uint8_t>(OwnerOf(code));
    };
    // Rays run to the edge: what stands between the piece and a king does not matter.
    const auto rays = [&](const patterns::Step* lines) {
        for (int i = 0; i < 4; ++i)
            for (int c = target.c + lines[i].dc, r = target.r + lines[i].dr; OnBoard(c, r);
                 c += lines[i].dc, r += lines[i].dr)
                examine(c, r);
    };

    switch (KindOf(piece)) {
    case kPawn1:
    case kPawn1 + 1:
    case kPawn1 + 2:
    case kPawn4:
        // The pawn's own direction of travel, whoever moved it.
        for (const auto& d : patterns::kPawnCaptures[owner])
            examine(target.c + d.dc, target.r + d.dr);
        break;
    case kBishop:
        rays(patterns::kBishopLines);
        break;
    case kKnight:
        for (const auto& d : patterns::kKnightJumps)
            examine(target.c + d.dc, target.r + d.dr);
        break;
    case kRook:
        rays(patterns::kRookLines);
        break;
    default:
        break;
    }
}

} // namespace tavlon
