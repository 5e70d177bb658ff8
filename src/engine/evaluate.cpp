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
constexpr int kPerPreyNearKing = 12;   // each other player's piece within two steps of the king

struct Values {
    int of[100] = {};
    constexpr Values() {
        for (int p = 1; p <= kPlayers; ++p) {
            for (int k = kPawn1; k <= kPawn4; ++k)
                of[CodeOf(p, k)] = 1;
            of[CodeOf(p, kBishop)] = 3;
            of[CodeOf(p, kKnight)] = 3;
            of[CodeOf(p, kRook)] = 5;
        }
    }
};
constexpr Values kValues;

// How many lines each pawn square lies on from player p's start line, squared, by board index.
struct PawnSteps {
    int of[5][64] = {};
    constexpr PawnSteps() {
        for (int p = 1; p <= kPlayers; ++p)
            for (int i = 0; i < 64; ++i) {
                const PawnLines& lines = kPawnLines[p];
                const int sign = lines.forward.c + lines.forward.r;
                const int steps = (PawnLineOf(p, {i / 8 + 1, i % 8 + 1}) - lines.start) * sign;
                of[p][i] = steps * steps;
            }
    }
};
constexpr PawnSteps kPawnSteps;

// The squares within two king steps of each square: a king cannot be taken and may take a
// defended piece, so the pieces around it are its prey.
struct Near {
    std::uint64_t of[64] = {};
    constexpr Near() {
        for (int i = 0; i < 64; ++i)
            for (int j = 0; j < 64; ++j) {
                const int dc = i / 8 - j / 8, dr = i % 8 - j % 8;
                if (j != i && dc >= -2 && dc <= 2 && dr >= -2 && dr <= 2)
                    of[i] |= std::uint64_t{1} << j;
            }
    }
};
constexpr Near kNear;

} // namespace

int EvaluateMaterial(const Position& pos, int player) {
    int worth[5] = {};
    for (int i = 0; i < 64; ++i) {
        const TPieceCode code = pos.board.cells[i];
        const int value = kValues.of[code];
        if (value == 0)
            continue;
        const int p = OwnerOf(code);
        worth[p] += value * kMaterialPercent;
        if (IsPawn(code))
            worth[p] += kPawnSteps.of[p][i] * kPerPawnStepSquared;
    }
    return worth[player] - (worth[1] + worth[2] + worth[3] + worth[4] - worth[player]) / 3;
}

int Evaluate(const Position& pos, int player) {
    AttackMaps attacks;
    ComputeAttacks(pos.board, attacks);
    int worth[5] = {};
    for (int i = 0; i < 64; ++i) {
        const TPieceCode code = pos.board.cells[i];
        const int value = kValues.of[code];
        if (value == 0)
            continue;
        const int p = OwnerOf(code);
        worth[p] += value * kMaterialPercent;
        if (IsPawn(code))
            worth[p] += kPawnSteps.of[p][i] * kPerPawnStepSquared;
    }
    std::uint64_t empty = 0;
    for (int i = 0; i < 64; ++i)
        if (pos.board.cells[i] == kEmpty)
            empty |= std::uint64_t{1} << i;
    int others = 0;
    for (int p = 1; p <= kPlayers; ++p) {
        // What the other three players reach.
        std::uint64_t enemy = 0, cheap = 0;
        for (int q = 1; q <= kPlayers; ++q)
            if (q != p) {
                enemy |= attacks.by[q];
                cheap |= attacks.cheap[q];
            }
        // Hanging: attacked and not defended, or within reach of a king (which nobody can
        // take back) or a pawn (which costs less than any other piece).
        for (std::uint64_t hanging = attacks.held[p] & ((enemy & ~attacks.by[p]) | cheap);
             hanging != 0; hanging &= hanging - 1)
            worth[p] -= kValues.of[pos.board.cells[std::countr_zero(hanging)]] * kHangingPercent;
        worth[p] += std::popcount(attacks.by[p] & ~attacks.held[p]) * kPerSquareReached;
        if (attacks.king[p] >= 0) {
            const int k = attacks.king[p];
            worth[p] += std::popcount(NeighbourMask(k) & empty & ~enemy) * kPerKingFreeSquare;
            const std::uint64_t theirs =
                attacks.held[1] | attacks.held[2] | attacks.held[3] | attacks.held[4];
            worth[p] += std::popcount(kNear.of[k] & theirs & ~attacks.held[p]) * kPerPreyNearKing;
        }
        if (p != player)
            others += worth[p];
    }
    return worth[player] - others / 3;
}

} // namespace tavlon
