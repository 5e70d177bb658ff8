// A move played from elsewhere (PlayMove) is the clicked move, to the file's byte; the gate
// takes the player's own move instead of playing it; a game started from a given position
// asks nothing and goes on as the game it came from.
#include "table.h"

#include <fstream>

namespace tavlon::test {
namespace {

std::string FileOf(Table& t) {
    const std::string path = t.dir.str() + "/g.tvl";
    EXPECT_TRUE(t.game.WriteGameFile(path));
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(PlayMove, PlaysListedMovesAsClicksDo) {
    Table clicked, played;
    clicked.game.mmNewClick();
    played.game.mmNewClick();
    for (const char* m : {"B1A3", "A7C8", "G8H6", "H2F1", "D2D4"}) {
        clicked.Play(m);
        ASSERT_TRUE(played.game.PlayMove({At(m), At(m + 2), 0})) << m;
    }
    EXPECT_EQ(FileOf(played), FileOf(clicked));
    EXPECT_EQ(played.port.list, clicked.port.list);
    // Not listed (an opponent's piece, an impossible step): nothing changes.
    EXPECT_FALSE(played.game.PlayMove({At("E7"), At("E6"), 0}));
    EXPECT_FALSE(played.game.PlayMove({At("A1"), At("A8"), 0}));
    EXPECT_FALSE(played.game.PlayMove(kPassMove)); // a side with a move cannot pass
    EXPECT_EQ(FileOf(played), FileOf(clicked));
}

TEST(PlayMove, TheGateTakesThePlayersMove) {
    Table t;
    t.game.mmNewClick();
    std::vector<Move> gated;
    t.game.SetMoveGate([&](const Move& m) { gated.push_back(m); });
    t.Click(At("D2"));
    t.Click(At("D4"));
    EXPECT_EQ(t.s.CurrentPly, 1);
    ASSERT_EQ(gated.size(), 1U);
    EXPECT_EQ(t.in.ClickPhase, 0);
    ASSERT_TRUE(t.game.PlayMove(gated[0]));
    EXPECT_EQ(t.s.CurrentPly, 2);
}

TEST(PlayMove, StartFromAPositionGoesOnAsTheGameItCameFrom) {
    Table whole, started;
    whole.game.mmNewClick();
    started.game.mmNewClick();
    for (const char* m : {"B1A3", "A7C8"}) {
        whole.Play(m);
        started.Play(m); // a game with moves: replaced without a question
    }
    whole.Play("G8H6");
    started.game.StartFrom(whole.s.Current());
    EXPECT_TRUE(started.port.questions.empty());
    EXPECT_EQ(started.s.CurrentPly, 1);
    EXPECT_EQ(started.s.LastPly, 1);
    EXPECT_TRUE(started.port.list.empty());
    for (const char* m : {"H2F1", "D2D4"}) {
        whole.Play(m);
        ASSERT_TRUE(started.game.PlayMove({At(m), At(m + 2), 0})) << m;
    }
    EXPECT_TRUE(started.s.Current() == whole.s.Current());
}

} // namespace
} // namespace tavlon::test
