// Kings in check on the whole board, whichever piece attacks and whenever it came there.
#include "rules/incheck.h"
#include "rules_boards.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavlon {
namespace {

using test::Put;

struct InCheckCase {
    const char* name;
    std::vector<Put> pieces; // besides the four kings: White D1, Red A5, Green E8, Brown H4
    const char* inCheck;     // players in check, in order
};

TEST(KingsInCheck, EveryPieceOfTheOtherPlayersCounts) {
    const InCheckCase cases[] = {
        {"start of the line", {}, ""},
        // The marks of a picked king see only the last-found rook; a check sees both.
        {"promoted second rook", {{2, 1, 17}, {6, 6, 17}}, "3"},
        {"rook line blocked by any piece", {{1, 1, 27}, {3, 1, 21}}, ""},
        {"line through an en-passant mark", {{1, 1, 27}, {3, 1, 30}}, "3"},
        // A bishop behind its own knight: once the knight has stepped aside the line is open.
        {"discovered bishop line", {{7, 5, 45}}, "1"},
        {"bishop line still covered", {{7, 5, 45}, {6, 6, 46}}, ""},
        {"own pieces never check", {{4, 3, 17}, {2, 6, 15}}, ""},
        {"Brown pawn towards its left", {{5, 7, 41}}, "1"},
        {"Red pawn towards its right", {{3, 7, 21}}, "1"},
        {"knights check two kings", {{3, 6, 36}, {3, 3, 16}}, "12"},
        {"a king gives no check", {{8, 5, 0}, {4, 7, 48}}, ""},
    };
    for (const auto& tc : cases) {
        TBoard b = test::BoardWith({{4, 8, 18}, {1, 4, 28}, {5, 1, 38}, {8, 5, 48}});
        for (const Put& p : tc.pieces)
            b.at(p.c, p.r) = p.code;
        bool inCheck[5] = {};
        KingsInCheck(b, inCheck);
        std::string players;
        for (int p = 1; p <= 4; ++p)
            if (inCheck[p])
                players += static_cast<char>('0' + p);
        EXPECT_EQ(players, tc.inCheck) << tc.name;
    }
}

} // namespace
} // namespace tavlon
