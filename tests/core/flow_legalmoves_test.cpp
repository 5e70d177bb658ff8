// The listed legal moves are exactly the click pairs the window's two-click cycle accepts,
// and a game clicked through the window is the game the core plays with the same moves.
#include "flow/game.h"
#include "port/nullport.h"
#include "quarter_turn.h"
#include "rules/moves.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tavlon::test {
namespace {

// A game driven as the window drives it. Its folder does not exist, so the autosave after
// each move fails at once and the port drops the message: thousands of moves write nothing.
struct Seat {
    struct Port : NullPort {
        int item = 0;
        std::string input;
        bool labels[5] = {};
        std::uint64_t frames = 0;
        int ChosenPromotionItem() const override { return item; }
        std::string InputText() const override { return input; }
        void SetInputText(std::string_view text) override { input = text; }
        void SetCheckLabel(int p, bool black) override { labels[p] = black; }
        void ShowGlance(const Glance& g) override { frames = g.kingsInCheck; }
    } port;
    Game game{port, "/nonexistent/tavlon-legalmoves"};
    GameState& s = game.state();

    Seat() {
        game.FormCreate();
        game.mmNewClick();
    }

    void Install(const Position& pos) {
        game.imgContextPopup();
        InstallRules(pos, s);
        s.LastPly = 1;
    }
    // Pointer over `sq`, then the left button released there.
    void Click(Square sq) {
        const BoardPoint at{true, sq, false};
        game.imgMouseMove(at);
        game.imgMouseUp(at, MouseButton::Left);
    }
    // True when the pointer over `sq` with the piece picked would be a square to play.
    bool Accepts(Square sq) {
        game.imgMouseMove({true, sq, false});
        return game.input().ClickAllowed == 1;
    }
};

Square SquareAt(int offset) {
    return {offset / 8 + 1, offset % 8 + 1};
}

TEST(LegalMoves, AreTheClickPairsTheCycleAccepts) {
    Seat t;
    int listed = 0;
    for (const Case& tc : Cases(150, 100))
        for (int side = 1; side <= 4; ++side) {
            Position pos = tc.pos;
            pos.side = static_cast<std::uint8_t>(side);
            MoveList moves;
            ListLegalMoves(pos, moves);
            listed += moves.size;
            for (int i = 0; i < 64; ++i) {
                const Square from = SquareAt(i);
                t.Install(pos);
                t.Click(from);
                const bool picked = t.game.input().ClickPhase == 1;
                for (int j = 0; j < 64; ++j) {
                    const Square to = SquareAt(j);
                    const bool accepted = picked && to != from && t.Accepts(to);
                    const bool promotes = NeedsPromotion(pos, from, to);
                    const bool inList = moves.Contains(
                        {from, to, promotes ? std::uint8_t{kRook} : std::uint8_t{0}});
                    ASSERT_EQ(inList, accepted)
                        << tc.Name() << ", player " << side << " " << SquareName(from.c, from.r)
                        << SquareName(to.c, to.r);
                    if (promotes && inList) {
                        ASSERT_TRUE(moves.Contains({from, to, kBishop}) &&
                                    moves.Contains({from, to, kKnight}));
                    }
                }
            }
        }
    EXPECT_GT(listed, 10000);
}

// Seeded games from the start position: each move drawn from the listed moves, clicked into
// the window (a promotion chosen in the panel) or, now and then, typed (no rule steps), and
// carried out on a position of its own. The "ШАХ!" labels tell what the red frames tell.
TEST(LegalMoves, AClickedGameIsTheGameTheCorePlays) {
    const std::uint32_t seed = BaseSeed(20260101u);
    Seat t;
    for (std::uint32_t game = 0; game < 12; ++game) {
        Dice dice(seed + game);
        const std::string what = "game of seed " + std::to_string(seed + game);
        t.Install(StartPosition());
        Position pos = StartPosition();
        for (int ply = 1; ply <= 150; ++ply) {
            MoveList moves;
            ListLegalMoves(pos, moves);
            if (moves.size == 0)
                break;
            const Move m = moves.moves[dice.Below(moves.size)];
            if (dice.Below(7) == 0) {
                CarryOut(pos, m, RuleSteps::Skip);
                t.port.input = SquareName(m.from.c, m.from.r) + SquareName(m.to.c, m.to.r);
                t.game.bbPlayClick();
            } else {
                CarryOut(pos, m);
                t.Click(m.from);
                t.Click(m.to);
                if (t.game.input().PromotionPending) {
                    t.port.item = m.promotion - kBishop;
                    t.game.bInsertOkClick();
                }
            }
            for (int p = 1; p <= 4; ++p) {
                std::uint64_t king = 0;
                for (int i = 0; i < 64; ++i)
                    if (pos.board.cells[i] == CodeOf(p, kKing))
                        king = std::uint64_t{1} << i;
                ASSERT_EQ(t.port.labels[p], (t.port.frames & king) != 0) << what << ", ply " << ply;
            }
            ASSERT_EQ(t.s.CurrentPly, ply + 1) << what;
            ASSERT_EQ(t.s.Current(), pos)
                << what << ", ply " << ply << " " << SquareName(m.from.c, m.from.r)
                << SquareName(m.to.c, m.to.r);
        }
    }
}

} // namespace
} // namespace tavlon::test
