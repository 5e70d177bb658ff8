// The en-passant mark of a White pawn's move, beside each other player's pawn. The quarter
// turn carries these answers to the other players; a fault shared by all four shows here.
#include "flow/rulesteps.h"
#include "rules_boards.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace tavlon
