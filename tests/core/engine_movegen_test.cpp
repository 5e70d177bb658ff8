// The engine's own move listing against the rules' listing, move for move.
#include "engine/movegen.h"
#include "quarter_turn.h"
#include "rules/attacks.h"
#include "rules/moves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tavlon {
namespace {

std::vector<int> Keys(const MoveList& list) {
    std::vector<int> keys;
    for (const Move& m : list)
        keys.push_back(((m.from.c * 9 + m.from.r) * 81 + m.to.c * 9 + m.to.r) * 8 + m.promotion);
    std::sort(keys.begin(), keys.end());
    return keys;
}

// The listed moves that take a piece or promote: what lands on another player's piece, a
// pawn landing on another player's en-passant mark, a promotion.
void KeepCaptures(const Position& pos, MoveList& list) {
    int kept = 0;
    for (const Move& m : list) {
        const TPieceCode there = pos.board.at(m.to);
        const bool pawn = IsPawn(pos.board.at(m.from));
        if (IsPiece(there) || (pawn && IsPassMark(there)) || m.promotion != 0)
            list.moves[kept++] = m;
    }
    list.size = kept;
}

// The same moves for every player to move, so each army's directions are covered.
void ExpectSameMoves(Position pos, const std::string& name) {
    MoveList rules, fast;
    for (int side = 1; side <= kPlayers; ++side) {
        pos.side = static_cast<std::uint8_t>(side);
        ListLegalMoves(pos, rules);
        GenerateMoves(pos, fast);
        ASSERT_EQ(Keys(fast), Keys(rules)) << name << ", side " << side;
        ASSERT_EQ(KingMarks(pos.board, side), KingAttackMask(pos.board, side)) << name;
        KeepCaptures(pos, rules);
        GenerateCaptures(pos, fast);
        ASSERT_EQ(Keys(fast), Keys(rules)) << name << ", side " << side << ", captures";
    }
}

TEST(EngineMoveGen, ListsTheRulesMovesInSeededPositions) {
    for (const auto& c : test::Cases(1500, 1500))
        ExpectSameMoves(c.pos, c.Name());
}

TEST(EngineMoveGen, ListsTheRulesMovesAlongSeededGames) {
    const std::uint32_t base = test::BaseSeed(17u);
    MoveList moves;
    for (std::uint32_t game = 0; game < 40; ++game) {
        std::mt19937 rng(base + game);
        Position pos = StartPosition();
        for (int ply = 0; ply < 160; ++ply) {
            const std::string name =
                "game of seed " + std::to_string(base + game) + " at ply " + std::to_string(ply);
            ExpectSameMoves(pos, name);
            ListLegalMoves(pos, moves);
            if (moves.size == 0)
                break;
            CarryOut(pos, moves.moves[rng() % static_cast<unsigned>(moves.size)]);
        }
    }
}

} // namespace
} // namespace tavlon
