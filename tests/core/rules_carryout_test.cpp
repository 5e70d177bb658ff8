// The rule steps of carrying a move out, each at the edges of its conditions, for White; the
// quarter turn carries these answers to the other players, so a fault shared by all four
// shows here.
#include "model/startpos.h"
#include "rules/moves.h"
#include "rules/rulesteps.h"
#include "rules_boards.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavlon {
namespace {

using test::Put;

struct MarkCase {
    const char* name;
    Square from, to;
    Put beside;
    Square mark; // {0, 0}: no mark anywhere
};

TEST(SetEnPassantMark, OnlyADoubleStepBesideAPawnThatMayTakeIt) {
    const MarkCase cases[] = {
        {"Red pawn on the left", {2, 7}, {2, 5}, {1, 5, 21}, {2, 6}},
        {"Green pawn on the left", {2, 7}, {2, 5}, {1, 5, 31}, {2, 6}},
        {"Brown pawn on the left", {2, 7}, {2, 5}, {1, 5, 41}, {}},
        {"Red pawn on the right", {2, 7}, {2, 5}, {3, 5, 21}, {}},
        {"Green pawn on the right", {2, 7}, {2, 5}, {3, 5, 31}, {2, 6}},
        {"Brown pawn on the right", {2, 7}, {2, 5}, {3, 5, 41}, {2, 6}},
        {"own pawn beside", {2, 7}, {2, 5}, {3, 5, 13}, {}},
        {"another piece beside", {2, 7}, {2, 5}, {3, 5, 37}, {}},
        {"edge column, one neighbour", {1, 7}, {1, 5}, {2, 5, 31}, {1, 6}},
        {"single step onto the line", {2, 6}, {2, 5}, {1, 5, 21}, {}},
        {"capture onto the line", {3, 6}, {2, 5}, {1, 5, 21}, {}},
    };
    for (const auto& tc : cases) {
        TBoard w = test::BoardWith({tc.beside});
        w.at(tc.from) = 12;
        const TBoard before = w;
        SetEnPassantMark(w, 12, tc.from, tc.to);
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 8; ++r) {
                const bool marked = Square{c, r} == tc.mark;
                EXPECT_EQ(w.at(c, r), marked ? 10 : before.at(c, r)) << tc.name << " at " << c << r;
            }
    }
}

struct RookCase {
    const char* name;
    std::vector<Put> more; // besides White's king on D1 and rook on A1
    int rights;
    Square to;
    bool jumps;
};

// The castling rook jumps from the corner to C1 only with the right 2, onto a free square
// no other player attacks, and never when the king itself lands there. Whatever stands on
// C1 stays: no piece is ever lost to the jump.
TEST(CarryOut, TheCastlingRooksJump) {
    const RookCase cases[] = {
        {"from home to E2", {}, 2, {5, 7}, true},
        {"a step to D2", {}, 2, {4, 7}, true},
        {"the right 1 (rook at home)", {}, 1, {5, 7}, false},
        {"no right", {}, 0, {5, 7}, false},
        {"the king lands on C1", {}, 2, {3, 8}, false},
        {"C1 holds a knight of White's", {{3, 8, 16}}, 2, {5, 7}, false},
        {"C1 holds a Red piece", {{3, 8, 25}}, 2, {5, 7}, false},
        {"C1 holds a Green pawn", {{3, 8, 31}}, 2, {5, 7}, false},
        {"C1 on a Green rook's line", {{3, 1, 37}}, 2, {5, 7}, false},
        {"C1 under a Red knight", {{2, 6, 26}}, 2, {5, 7}, false},
        {"the corner holds no rook", {{1, 8, 15}}, 2, {5, 7}, false},
    };
    for (const auto& tc : cases) {
        Position pos;
        pos.board.at(4, 8) = CodeOf(1, kKing);
        pos.board.at(1, 8) = CodeOf(1, kRook);
        for (const Put& p : tc.more)
            pos.board.at(p.c, p.r) = p.code;
        pos.flags.kingRights[1] = static_cast<std::uint8_t>(tc.rights);
        const Position before = pos;
        const MoveResult r = CarryOut(pos, {{4, 8}, tc.to, 0});
        EXPECT_EQ(r.rookFrom.c != 0, tc.jumps) << tc.name;
        EXPECT_EQ(pos.board.at(3, 8),
                  tc.jumps ? CodeOf(1, kRook)
                           : (tc.to == Square{3, 8} ? CodeOf(1, kKing) : before.board.at(3, 8)))
            << tc.name;
        EXPECT_EQ(pos.board.at(1, 8), tc.jumps ? kEmpty : before.board.at(1, 8)) << tc.name;
        EXPECT_EQ(pos.flags.kingRights[1], 0) << tc.name; // a moved king loses its special move
        int pieces = 0, piecesBefore = 0;
        for (int i = 0; i < 64; ++i) {
            pieces += IsPiece(pos.board.cells[i]);
            piecesBefore += IsPiece(before.board.cells[i]);
        }
        EXPECT_EQ(pieces, piecesBefore - (r.captured != 0)) << tc.name;
    }
}

} // namespace
} // namespace tavlon
