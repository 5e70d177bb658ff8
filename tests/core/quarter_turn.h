// The quarter turn of a position: square (c, r) goes to (9 - r, c) and every piece and mark
// to the next player. The armies stand in a pinwheel, so every rule must turn the same way.
// Also the seeded positions the symmetry tests run over: random ones, and ones built around
// the rule steps that carry a move out.
#pragma once

#include "rules/patterns.h"
#include "rules_boards.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

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

// The flags go to the next player with the pieces; a pawn's flag goes with its code, and
// the turn passes on with the rest.
inline Position Turn(const Position& pos) {
    Position t;
    t.board = Turn(pos.board);
    t.side = static_cast<std::uint8_t>(NextPlayer(pos.side));
    for (int p = 1; p <= 4; ++p) {
        const int q = NextPlayer(p);
        t.flags.kingRights[q] = pos.flags.kingRights[p];
        for (int k = 1; k <= 4; ++k)
            t.flags.SetPawn(q * 10 + k, pos.flags.PawnMayDoubleStep(p * 10 + k));
    }
    return t;
}

// `pos` as the position in play at ply 1 of `s`.
inline void InstallRules(const Position& pos, GameState& s) {
    s.CurrentPly = 1;
    s.Board() = pos.board;
    s.CurrentFlags() = pos.flags;
    s.SideToMove = pos.side;
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

// Random positions: one king per player, at most one rook, bishop and knight, some pawns
// and some en-passant marks, random start flags, castling rights and side to move.
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
            pos.flags.SetPawn(p * 10 + k, dice.Below(2) != 0);
        }
        pos.flags.kingRights[p] = static_cast<std::uint8_t>(dice.Below(3));
    }
    for (int marks = dice.Below(5); marks > 0; --marks)
        drop(10 * (1 + dice.Below(4)));
    pos.side = static_cast<std::uint8_t>(1 + dice.Below(4));
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

// Places scenes drawn as seen from White onto a position, each turned to a random player:
// who = 1 is the scene's own player, 2..4 the players after it in turn order. Squares that
// are taken or off the board are skipped; a player keeps one king and at most one rook and
// one bishop (the king's marks take only the last-found one, which is not symmetric).
class Scenes {
  public:
    explicit Scenes(std::uint32_t seed) : dice(seed) {}

    Dice dice;
    Position pos;

    void TurnTo(int quarterTurns) { turns_ = quarterTurns; }
    int Other() { return 2 + dice.Below(3); }

    // A piece of `kind` 5..8, a pawn (1: it takes the lowest free pawn number) or, for 0,
    // the en-passant mark of `who`. Returns the code placed, 0 when nothing was.
    TPieceCode Put(int c, int r, int who, int kind) {
        const int p = (who - 1 + turns_) % 4 + 1;
        Square sq{c, r};
        for (int i = 0; i < turns_; ++i)
            sq = Turn(sq);
        if (!OnBoard(sq.c, sq.r) || pos.board.at(sq) != kEmpty)
            return 0;
        int code = p * 10 + kind;
        if (kind >= 1 && kind <= 4) {
            code = p * 10 + 1;
            while (code <= p * 10 + 4 && Has(code))
                ++code;
            if (code > p * 10 + 4)
                return 0;
        } else if (kind != 0 && kind != 6 && Has(code)) {
            return 0;
        }
        pos.board.at(sq) = static_cast<TPieceCode>(code);
        return static_cast<TPieceCode>(code);
    }
    void Pawn(int c, int r, int who, int flag) {
        if (const TPieceCode code = Put(c, r, who, 1))
            pos.flags.SetPawn(code, flag != 0);
    }
    // Any piece but a king, or a pawn.
    void Piece(int c, int r, int who) {
        const int kind = 4 + dice.Below(4);
        if (kind == 4)
            Pawn(c, r, who, dice.Below(2));
        else
            Put(c, r, who, kind);
    }

  private:
    bool Has(int code) const {
        for (auto c : pos.board.cells)
            if (c == code)
                return true;
        return false;
    }
    int turns_ = 0;
};

// A few scenes, as seen from White: a pawn's double step (or a single step onto the same
// line) beside another player's pawn; a pawn that can take onto another player's mark (or
// its own) with the marked pawn beyond; a pawn with a mark right behind it; the king at home
// with its rook in the corner; a pawn one step from its promotion line with pieces to take.
inline Position RuleStepPosition(std::uint32_t seed) {
    Scenes sc(seed);
    Dice& dice = sc.dice;
    for (int n = 3 + dice.Below(3); n > 0; --n) {
        sc.TurnTo(dice.Below(4));
        const int i = 1 + dice.Below(8);
        switch (dice.Below(6)) {
        case 0:
        case 1: { // double step
            const int row = dice.Below(3) == 0 ? 6 : 7;
            sc.Pawn(i, row, 1, dice.Below(4) != 0);
            const int side = dice.Below(2) == 0 ? -1 : 1;
            sc.Pawn(i + side, 5, sc.Other(), dice.Below(2));
            if (dice.Below(2) == 0)
                sc.Pawn(i - side, 5, sc.Other(), dice.Below(2));
            if (dice.Below(6) == 0)
                sc.Piece(i, 6, sc.Other()); // in the way
            break;
        }
        case 2: { // en passant onto the mark on (c, r)
            const int c = 2 + dice.Below(6), r = 2 + dice.Below(6);
            const int owner = dice.Below(4) == 0 ? 1 : sc.Other();
            sc.Put(c, r, owner, 0);
            const patterns::Step f = patterns::kPawnForward[owner];
            if (dice.Below(4) != 0)
                sc.Pawn(c + f.dc, r + f.dr, owner, 0);
            else
                sc.Piece(c + f.dc, r + f.dr, sc.Other());
            sc.Pawn(dice.Below(2) == 0 ? c - 1 : c + 1, r + 1, 1, dice.Below(2));
            break;
        }
        case 3: { // a mark right behind a pawn
            const int r = 2 + dice.Below(5);
            sc.Pawn(i, r, 1, dice.Below(2));
            sc.Put(i, r + 1, dice.Below(3) == 0 ? sc.Other() : 1, 0);
            break;
        }
        case 4: { // the king at home, its rook in the corner (now and then at home)
            sc.Put(4, 8, 1, 8);
            sc.Put(dice.Below(4) == 0 ? 3 : 1, 8, 1, 7);
            if (dice.Below(4) == 0)
                sc.Piece(3, 8, sc.Other());
            break;
        }
        default: { // promotion
            sc.Pawn(i, 2, 1, dice.Below(2));
            for (int dc = -1; dc <= 1; ++dc)
                if (dice.Below(3) == 0)
                    sc.Piece(i + dc, 1, sc.Other());
            break;
        }
        }
    }
    // Every player has a king and a few more pieces; rights and flags random.
    sc.TurnTo(0);
    for (int p = 1; p <= 4; ++p) {
        for (int tries = 0; tries < 100 && !sc.Put(1 + dice.Below(8), 1 + dice.Below(8), p, 8);)
            ++tries;
        for (int extra = dice.Below(3); extra > 0; --extra)
            sc.Piece(1 + dice.Below(8), 1 + dice.Below(8), p);
        sc.pos.flags.kingRights[p] =
            static_cast<std::uint8_t>(dice.Below(4) == 0 ? dice.Below(2) : 2);
    }
    return sc.pos;
}

// A position to check, with what it takes to build it again.
struct Case {
    const char* kind;
    std::uint32_t seed;
    Position pos;
    std::string Name() const { return std::string(kind) + " of seed " + std::to_string(seed); }
};

// The start position, `random` random positions and `ruleSteps` rule-step positions.
inline std::vector<Case> Cases(std::uint32_t random, std::uint32_t ruleSteps) {
    std::vector<Case> all{{"start position", 0, StartPosition()}};
    const std::uint32_t seed = BaseSeed(20260101u);
    for (std::uint32_t i = 0; i < random; ++i)
        all.push_back({"random position", seed + i, RandomPosition(seed + i)});
    for (std::uint32_t i = 0; i < ruleSteps; ++i)
        all.push_back({"rule-step position", seed + i, RuleStepPosition(seed + i)});
    return all;
}

} // namespace tavlon::test
