// What the window is told after each change of the position: kings in check on the board,
// a mate of the player to move, and nothing outside play.
#include "table.h"

namespace tavlon::test {
namespace {

std::uint64_t Bit(const char* square) {
    const Square s = At(square);
    return std::uint64_t{1} << ((s.c - 1) * 8 + (s.r - 1));
}

TEST(Glance, KingsInCheckAfterClickedTypedAndTakenBackMoves) {
    Table t;
    TBoard b = KingsAtHome();
    b.at(At("E3")) = 17; // White rook behind its knight on the Green king's file
    b.at(At("E5")) = 16;
    t.Setup(b);
    t.Play("E5F7"); // the knight steps aside: a discovered check
    EXPECT_EQ(t.port.glance.kingsInCheck, Bit("E8"));
    EXPECT_TRUE(t.port.checkLabelBlack[3]) << "labels and frames tell the same";
    t.port.input = "e3h3"; // Red's keyboard moves the White rook next to the Brown king
    t.game.bbPlayClick();
    EXPECT_EQ(t.port.glance.kingsInCheck, Bit("H4"));
    t.game.mmUndoClick();
    EXPECT_EQ(t.port.glance.kingsInCheck, Bit("E8"));
    t.game.mmUndoClick();
    EXPECT_EQ(t.port.glance.kingsInCheck, 0u);
    t.game.mmForwardClick();
    EXPECT_EQ(t.port.glance.kingsInCheck, Bit("E8"));
    EXPECT_TRUE(t.port.glance.lastMoves[1].Known());
    EXPECT_FALSE(t.port.glance.lastMoves[2].Known());

    t.game.mmSetupPositionClick(); // nothing is shown while a position is set up
    EXPECT_EQ(t.port.glance.kingsInCheck, 0u);
    EXPECT_FALSE(t.port.glance.lastMoves[1].Known());
}

TEST(Glance, MateIsToldUntilThePositionChanges) {
    Table t;
    // The Red king A8 is held on its file by a Brown rook on A1 and on the B file by White.
    TBoard b;
    b.at(At("A8")) = 28;
    b.at(At("A1")) = 47;
    b.at(At("B3")) = 17;
    b.at(At("H8")) = 38;
    b.at(At("H4")) = 48;
    b.at(At("E1")) = 18;
    t.Setup(b);
    t.Play("B3B1");
    EXPECT_EQ(t.port.glance.mated, 2);
    EXPECT_EQ(t.port.status, "Мат королю красных");
    EXPECT_EQ(t.port.glance.kingsInCheck, Bit("A8"));
    t.Hover(At("C3"));
    t.game.ImageMouseLeave(); // off the board the mate is told again
    EXPECT_EQ(t.port.status, "Мат королю красных");
    t.game.mmUndoClick();
    EXPECT_EQ(t.port.glance.mated, 0);
    t.game.ImageMouseLeave();
    EXPECT_EQ(t.port.status, "");
}

} // namespace
} // namespace tavlon::test
