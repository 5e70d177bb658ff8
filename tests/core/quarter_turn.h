// The quarter turn of a position: square (c, r) goes to (9 - r, c) and every piece and mark
// to the next player. The armies stand in a pinwheel, so every rule must turn the same way.
// Also the seeded random positions the symmetry tests run over.
#pragma once

#include "rules_boards.h"

#include <cstdint>
#include <cstdlib>

namespace tavlon::test {

inline Square Turn(Square s) {
    return {9 - s.r, s.c};
}

// A piece or an en-passant mark goes to the next player; 0 and 99 stay.
inline TPieceCode Turn(TPieceCode code) {
    if (!IsPieceOwner(OwnerOf(code)))
        return code;
    return static_cast<TPieceCode>(NextPlayer(OwnerOf(code)) * 10 + KindOf(code));
}

inline TBoard Turn(const TBoard& b) {
    TBoard t;
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            t.at(Turn(Square{c, r})) = Turn(b.at(c, r));
    return t;
}

// A board with the flags the rules read and write, by player and by pawn code.
struct Position {
    TBoard board;
    std::uint8_t pawnFlags[50] = {};
    std::uint8_t rights[5] = {};
    std::uint8_t checkFlags[5] = {}; // 0 or the player's own number
    friend bool operator==(const Position&, const Position&) = default;
};

// The flags go to the next player with the pieces; a pawn's start flag goes with its code.
inline Position Turn(const Position& pos) {
    Position t;
    t.board = Turn(pos.board);
    for (int p = 1; p <= 4; ++p) {
        const int q = NextPlayer(p);
        t.rights[q] = pos.rights[p];
        t.checkFlags[q] = pos.checkFlags[p] != 0 ? static_cast<std::uint8_t>(q) : 0;
        for (int k = 1; k <= 4; ++k)
            t.pawnFlags[q * 10 + k] = pos.pawnFlags[p * 10 + k];
    }
    return t;
}

// Board, start flags and castling rights of `pos` as the board of ply 1 of `s`.
inline void InstallRules(const Position& pos, GameState& s) {
    s.CurrentPly = 1;
    s.Board() = pos.board;
    for (int p = 1; p <= 4; ++p) {
        s.KingSpecialRights[p] = pos.rights[p];
        for (int k = 1; k <= 4; ++k)
            s.PawnStartFlags[p * 10 + k] = pos.pawnFlags[p * 10 + k];
    }
}

// The start position with every flag a new game gives it.
inline Position StartPosition() {
    Position pos;
    pos.board = StartBoard();
    for (int p = 1; p <= 4; ++p) {
        pos.rights[p] = 1;
        for (int k = 1; k <= 4; ++k)
            pos.pawnFlags[p * 10 + k] = 1;
    }
    return pos;
}

// A small linear congruential generator: the same seed gives the same numbers everywhere.
class Dice {
  public:
    // Neighbouring seeds are scrambled apart first.
    explicit Dice(std::uint32_t seed) : state_((seed ^ 0x9e3779b9u) * 0x85ebca6bu) {
        state_ ^= state_ >> 13;
    }
    // 0 .. n - 1.
    int Below(int n) {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(n));
    }

  private:
    std::uint32_t state_;
};

// The base seed of the random positions and games: `fallback`, or TAVLON_SEED when set, so
// that a failing case printed with its seed can be replayed and other seeds explored.
inline std::uint32_t BaseSeed(std::uint32_t fallback) {
    const char* text = std::getenv("TAVLON_SEED");
    return text ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10)) : fallback;
}

// Random positions: one king per player, at most one rook, bishop and knight (the king's
// marks take only the last-found rook or bishop of a player, which is not symmetric), some
// pawns and some marks, random start flags and castling rights.
inline Position RandomPosition(std::uint32_t seed) {
    Dice dice(seed);
    Position pos;
    TBoard& b = pos.board;
    const auto drop = [&](int code) {
        int c = 0, r = 0;
        do {
            c = 1 + dice.Below(8);
            r = 1 + dice.Below(8);
        } while (b.at(c, r) != 0);
        b.at(c, r) = static_cast<TPieceCode>(code);
    };
    for (int p = 1; p <= 4; ++p) {
        drop(p * 10 + 8);
        for (int kind = 5; kind <= 7; ++kind)
            if (dice.Below(4) != 0)
                drop(p * 10 + kind);
        for (int k = 1; k <= 4; ++k) {
            if (dice.Below(2) != 0)
                drop(p * 10 + k);
            pos.pawnFlags[p * 10 + k] = static_cast<std::uint8_t>(dice.Below(2));
        }
        pos.rights[p] = static_cast<std::uint8_t>(dice.Below(3));
        pos.checkFlags[p] = dice.Below(4) == 0 ? static_cast<std::uint8_t>(p) : 0;
    }
    for (int marks = dice.Below(5); marks > 0; --marks)
        drop(dice.Below(3) == 0 ? 99 : 10 * (1 + dice.Below(4)));
    // Kings at home with the knight's square free now and then, for the special move.
    if (dice.Below(2) != 0) {
        const int p = 1 + dice.Below(4);
        for (auto& code : b.cells)
            if (code == p * 10 + 8)
                code = 0;
        b.at(kHomeSquares[p].king) = static_cast<TPieceCode>(p * 10 + 8);
        b.at(kHomeSquares[p].knight) = 0;
    }
    return pos;
}

} // namespace tavlon::test
