// The window's pixels turned into squares and hit areas, at every edge.
#include "ui/boardgeometry.h"

#include "model/startpos.h"

#include <gtest/gtest.h>

namespace tavlon::ui {
namespace {

TEST(BoardGeometry, SquaresEndAtEveryFortiethPixelAndTheBoardAt320) {
    const struct {
        int x, y;
        bool onBoard;
        Square square;
    } cases[] = {{0, 0, true, {1, 1}},   {39, 39, true, {1, 1}},   {40, 39, true, {2, 1}},
                 {39, 40, true, {1, 2}}, {319, 319, true, {8, 8}}, {320, 0, false, {}},
                 {0, 320, false, {}},    {-1, 5, false, {}},       {5, -1, false, {}}};
    for (const auto& c : cases) {
        const BoardPoint at = BoardPointAt(c.x, c.y);
        EXPECT_EQ(at.onBoard, c.onBoard) << c.x << "," << c.y;
        if (c.onBoard) {
            EXPECT_EQ(at.square, c.square) << c.x << "," << c.y;
        }
    }
}

TEST(BoardGeometry, IntroStartAreaIncludesBothEnds) {
    const struct {
        int x, y;
        bool starts;
    } cases[] = {{90, 60, true},    {220, 100, true}, {89, 60, false},
                 {221, 100, false}, {150, 59, false}, {150, 101, false}};
    for (const auto& c : cases)
        EXPECT_EQ(BoardPointAt(c.x, c.y).onIntroStart, c.starts) << c.x << "," << c.y;
}

// The armies are a pinwheel: turned toward any player, that player's home squares are shown
// where White's stand unturned, and a click there finds them again.
TEST(BoardGeometry, TurnedTowardAPlayerTheirArmyStandsWhereWhitesDoes) {
    EXPECT_EQ(QuarterTurnsToward(1), 0);
    EXPECT_EQ(QuarterTurnsToward(0), 0) << "outside play";
    const HomeSquares& white = kHomeSquares[1];
    for (int p = 1; p <= 4; ++p) {
        SCOPED_TRACE(p);
        const int turns = QuarterTurnsToward(p);
        const HomeSquares& home = kHomeSquares[p];
        EXPECT_EQ(CellShowing(home.king, turns), white.king);
        EXPECT_EQ(CellShowing(home.rook, turns), white.rook);
        EXPECT_EQ(CellShowing(home.knight, turns), white.knight);
        const int x = 40 * (white.king.c - 1) + 39, y = 40 * (white.king.r - 1);
        EXPECT_EQ(BoardPointAt(x, y, turns).square, home.king);
    }
    // Red to move: Red's knight A7 is shown in the bottom row, second from the left.
    EXPECT_EQ(BoardPointAt(60, 300, QuarterTurnsToward(2)).square, (Square{1, 2}));
}

TEST(BoardGeometry, SetupStartButtonExcludesItsEdges) {
    EXPECT_TRUE(OverSetupStartButton(264, 45));
    EXPECT_TRUE(OverSetupStartButton(379, 64));
    EXPECT_FALSE(OverSetupStartButton(263, 50));
    EXPECT_FALSE(OverSetupStartButton(380, 50));
    EXPECT_FALSE(OverSetupStartButton(300, 44));
    EXPECT_FALSE(OverSetupStartButton(300, 65));
}

} // namespace
} // namespace tavlon::ui
