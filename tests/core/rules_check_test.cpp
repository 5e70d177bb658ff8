#include "rules/check.h"
#include "rules_boards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavlon {
namespace {

using test::Put;

struct CheckCase {
    const char* name;
    int side;
    TPieceCode piece;
    Square target;
    std::vector<Put> pieces; // the working board
    const char* flagged;     // players whose flag is set, in order
};

std::string Flagged(const CheckCase& tc) {
    TBoard w;
    for (const Put& p : tc.pieces)
        w.at(p.c, p.r) = p.code;
    std::uint8_t flags[5] = {};
    DetectCheckFlags(w, tc.piece, tc.target, tc.side, flags);
    std::string flagged;
    for (int p = 1; p <= 4; ++p) {
        if (flags[p] != 0 && flags[p] != p)
            ADD_FAILURE() << tc.name << ": flag " << p << " holds " << int{flags[p]};
        if (flags[p] != 0)
            flagged += static_cast<char>('0' + p);
    }
    return flagged;
}

TEST(DetectCheckFlags, WhomTheMovedPieceAttacks) {
    const CheckCase cases[] = {
        {"rook ray runs through pieces", 1, 17, {3, 5}, {{4, 5, 21}, {5, 5, 31}, {7, 5, 38}}, "3"},
        {"rook rays reach both edges", 2, 27, {1, 1}, {{8, 1, 38}, {1, 8, 18}, {8, 8, 48}}, "13"},
        {"bishop flags two kings",
         1,
         15,
         {4, 4},
         {{2, 2, 21}, {1, 1, 28}, {7, 7, 31}, {8, 8, 48}, {8, 5, 38}},
         "24"},
        {"bishop's own square and lines are not diagonals",
         1,
         15,
         {4, 4},
         {{4, 4, 28}, {4, 1, 38}, {1, 4, 48}},
         ""},
        {"white pawn, red king forward left", 1, 11, {4, 5}, {{3, 4, 28}}, "2"},
        {"white pawn, red king behind", 1, 11, {4, 5}, {{3, 6, 28}}, ""},
        {"brown pawn beside the red king", 4, 41, {5, 5}, {{4, 4, 28}, {4, 5, 38}}, "2"},
        {"brown pawn beside the green king", 4, 41, {5, 5}, {{4, 6, 38}, {6, 6, 28}}, "3"},
        {"red pawn looks right", 2, 23, {4, 4}, {{5, 3, 38}, {5, 5, 48}, {3, 3, 18}}, "34"},
        {"green pawn looks down", 3, 32, {4, 4}, {{3, 5, 18}, {5, 3, 28}}, "1"},
        {"pawn direction from its code", 1, 31, {4, 4}, {{3, 5, 28}, {3, 3, 48}}, "2"},
        {"pawn on the last line looks off the board", 1, 12, {3, 1}, {{1, 8, 28}, {3, 8, 38}}, ""},
        {"knight jumps", 1, 16, {5, 5}, {{3, 4, 28}, {7, 6, 38}, {6, 6, 48}}, "23"},
        {"knight on the top edge", 1, 16, {4, 1}, {{6, 2, 48}, {2, 7, 28}, {5, 8, 38}}, "4"},
        {"knight in the corner", 3, 36, {8, 8}, {{7, 6, 18}, {6, 7, 28}, {1, 7, 48}}, "12"},
        {"own king never flagged", 1, 17, {4, 4}, {{4, 8, 18}, {8, 4, 28}}, "2"},
        {"king examines nothing", 1, 18, {4, 4}, {{4, 5, 28}, {5, 5, 38}}, ""},
        {"en-passant mark examines nothing", 1, 10, {4, 4}, {{4, 5, 28}}, ""},
        {"other codes on the lines", 1, 17, {4, 4}, {{4, 1, 27}, {1, 4, 99}, {8, 4, 40}}, ""},
    };
    for (const auto& tc : cases)
        EXPECT_EQ(Flagged(tc), tc.flagged) << tc.name;
}

} // namespace
} // namespace tavlon
