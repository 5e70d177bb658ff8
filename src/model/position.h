// A position: what the rules read and a move changes, as a small value.
#pragma once

#include "model/codes.h"

#include <cstdint>

namespace tavlon {

// The flags a position carries besides its board: which pawns may still make their double
// step and each player's king special-move right (0 none; 1 king and rook at home; 2 king
// at home and the rook in the corner).
struct PlyFlags {
    std::uint16_t pawns = 0;         // bit (owner - 1) * 4 + (number - 1)
    std::uint8_t kingRights[5] = {}; // index 1..4
    friend bool operator==(const PlyFlags&, const PlyFlags&) = default;

    // `pawn` must be a pawn code.
    static constexpr int PawnBit(int pawn) { return (pawn / 10 - 1) * 4 + (pawn % 10 - 1); }
    constexpr bool PawnMayDoubleStep(int pawn) const { return (pawns >> PawnBit(pawn)) & 1U; }
    constexpr void SetPawn(int pawn, bool mayDoubleStep) {
        const auto bit = static_cast<std::uint16_t>(1U << PawnBit(pawn));
        pawns = static_cast<std::uint16_t>(mayDoubleStep ? pawns | bit : pawns & ~bit);
    }
};

// The 64 squares (pieces and en-passant marks; the attacked-square mark never), the player
// to move and the flags. Copied freely: a search makes a move on a copy.
struct Position {
    TBoard board;
    std::uint8_t side = 1; // 1..4
    PlyFlags flags;
    friend bool operator==(const Position&, const Position&) = default;
};
static_assert(sizeof(Position) <= 80);

// A move as a player makes it: the two squares and, for a pawn reaching its promotion line,
// the kind it becomes (kBishop, kKnight or kRook; 0 otherwise).
struct Move {
    Square from, to;
    std::uint8_t promotion = 0;
    friend constexpr bool operator==(const Move&, const Move&) = default;
};

// A turn passed by a side with no move: how a network room writes it among the moves.
inline constexpr Move kPassMove{};

// The bit of square (c, r) in a 64-square mask: the board's own byte offset.
constexpr std::uint64_t SquareBit(Square s) {
    return std::uint64_t{1} << ((s.c - 1) * 8 + (s.r - 1));
}

// The start position of a new game: every army at home, White to move, every flag set.
Position StartPosition();

} // namespace tavlon
