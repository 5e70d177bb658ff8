#include "engine/evaluate.h"

#include "engine/movegen.h"
#include "model/pawnlines.h"

#include <bit>

namespace tavlon {
namespace {

// Weights in hundredths of a pawn.
constexpr int kMaterialPercent = 50;   // a piece kept counts half what taking it scores
constexpr int kHangingPercent = 15;    // of the value of a piece attacked and not defended
constexpr int kPerSquareReached = 3;   // each square a piece reaches that it does not hold
constexpr int kPerPawnStepSquared = 3; // a pawn n lines on from its start line: n * n of these
constexpr int kPerKingFreeSquare = 6;  // each neighbour the king may step to unattacked

} // namespace

int PieceValue(TPieceCode code) {
    if (!IsPiece(code))
        return 0;
    switch (KindOf(code)) {
    case kBishop:
    case kKnight:
        return 3;
    case kRook:
        return 5;
    case kKing:
        return 0;
    default:
        return 1;
    }
}

int Evaluate(const Position& pos, int player) {
    AttackMaps attacks;
    ComputeAttacks(pos.board, attacks);
    // What the other three players reach, for each player.
    std::uint64_t enemy[5] = {};
    for (int p = 1; p <= kPlayers; ++p)
        for (int q = 1; q <= kPlayers; ++q)
            if (q != p)
                enemy[p] |= attacks.by[q];
    std::uint64_t held[5] = {};
    int worth[5] = {};
    for (int i = 0; i < 64; ++i) {
        const TPieceCode code = pos.board.cells[i];
        if (!IsPiece(code))
            continue;
        const int p = OwnerOf(code);
        const std::uint64_t bit = std::uint64_t{1} << i;
        held[p] |= bit;
        const int value = PieceValue(code) * 100;
        worth[p] += value * kMaterialPercent / 100;
        if ((enemy[p] & bit) != 0 && (attacks.by[p] & bit) == 0)
            worth[p] -= value * kHangingPercent / 100;
        const Square s{i / 8 + 1, i % 8 + 1};
        if (IsPawn(code)) {
            const PawnLines& lines = kPawnLines[p];
            const int sign = lines.forward.c + lines.forward.r;
            const int steps = (PawnLineOf(p, s) - lines.start) * sign;
            worth[p] += steps * steps * kPerPawnStepSquared;
        } else if (IsKing(code)) {
            for (int dc = -1; dc <= 1; ++dc)
                for (int dr = -1; dr <= 1; ++dr) {
                    const int c = s.c + dc, r = s.r + dr;
                    if ((dc != 0 || dr != 0) && OnBoard(c, r) && pos.board.at(c, r) == kEmpty &&
                        (enemy[p] & SquareBit({c, r})) == 0)
                        worth[p] += kPerKingFreeSquare;
                }
        }
    }
    int others = 0;
    for (int p = 1; p <= kPlayers; ++p) {
        worth[p] += std::popcount(attacks.by[p] & ~held[p]) * kPerSquareReached;
        if (p != player)
            others += worth[p];
    }
    return worth[player] - others / 3;
}

} // namespace tavlon
