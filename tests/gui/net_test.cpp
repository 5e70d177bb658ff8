// Two windows in one room on the tests' own broker: moves clicked in either window and a
// computer seat hosted by one of them end in the same game in both; a click for a seat held
// elsewhere plays nothing; a move is taken back only when the other window's person agrees;
// with the broker down a click plays nothing, and plays once it is back; a window that
// leaves is shown gone in the other and plays on by itself.
#ifdef TAVLON_HAVE_NET

#include "fixture.h"
#include "net/broker.h"

#include "rules/moves.h"
#include "ui/netrouter.h"

#include <QMessageBox>
#include <QTest>

#include <fstream>
#include <random>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

using test::MosquittoBinary;

// One computer at the table: a window in a folder of its own.
struct Table {
    test::TempDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TF> window;

    Table() : window(std::make_unique<TF>(ui::DataFolder::At(dir.str()))) {
        window->SetDialogs(&dialogs);
        window->show();
    }
    Game& game() { return window->game(); }
    const net::Room& room() { return window->Net()->Client()->room(); }
    // A move as the board's clicks make it: pick, then target, each hovered first.
    void Click(const Move& m) {
        for (const Square sq : {m.from, m.to}) {
            game().imgMouseMove({true, sq, false});
            game().imgMouseUp({true, sq, false}, MouseButton::Left);
        }
    }
    std::string File() {
        const std::string path = dir.str() + "/net.tvl";
        EXPECT_FALSE(game().StoreGameFile(path));
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

ui::NetChoice Choice(int port, const std::string& client, int person) {
    ui::NetChoice c;
    c.settings = test::SettingsFor(port, client, person);
    return c;
}

TEST(NetWindowTest, TwoWindowsPlayOneGameThroughTheRoom) {
    TAVLON_NEED_BROKER();
    test::Broker broker;
    Table a, b;
    // A: White and Green, people. B: Red, a person, and Brown, the novice computer.
    ui::NetChoice ca = Choice(broker.Port(), "aaaa", 1);
    ca.settings.seats[3] = net::SeatKind::Person;
    ui::NetChoice cb = Choice(broker.Port(), "bbbb", 2);
    cb.settings.seats[4] = net::SeatKind::Computer;
    cb.level[4] = 1;
    QString error;
    ASSERT_TRUE(a.window->Net()->Enter(ca, true, error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return a.room().HasGame(); }, 10000));
    ASSERT_TRUE(b.window->Net()->Enter(cb, false, error)) << error.toStdString();
    const auto seated = [](Table& t) {
        for (int seat = 1; seat <= 4; ++seat)
            if (t.room().Holder(seat).empty())
                return false;
        return t.room().HasGame() && t.game().state().CurrentPly == 1;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return seated(a) && seated(b); }, 10000));
    EXPECT_FALSE(a.window->controls().bBackStep->isEnabled());

    std::mt19937 rng(22);
    const auto both = [&](int ply) {
        return a.game().state().CurrentPly == ply && b.game().state().CurrentPly == ply;
    };
    // 13 moves: the last is White's, so Red, a person, is to move when the undo is asked.
    for (int ply = 1; ply <= 13; ++ply) {
        const Position now = a.game().state().Current();
        if (now.side != 4) {
            MoveList legal;
            ListLegalMoves(now, legal);
            ASSERT_GT(legal.size, 0);
            const Move m = legal.moves[rng() % static_cast<unsigned>(legal.size)];
            ASSERT_EQ(m.promotion, 0);
            if (now.side == 2) {
                a.Click(m); // Red's seat is B's: nothing is played
                QTest::qWait(50);
                EXPECT_EQ(a.game().state().CurrentPly, ply);
                EXPECT_TRUE(a.window->StatusText().startsWith(u"Ход не сыгран"_s))
                    << a.window->StatusText().toStdString();
            }
            (now.side == 2 ? b : a).Click(m);
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return both(ply + 1); }, 20000)) << "ply " << ply;
    }
    EXPECT_TRUE(a.game().state().Current() == b.game().state().Current());
    EXPECT_EQ(a.File(), b.File());

    a.window->Net()->AskUndo();
    QMessageBox* question = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (question = b.window->findChild<QMessageBox*>(u"UndoQuestion"_s)); }, 10000));
    question->button(QMessageBox::Yes)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return both(13); }, 10000));
    EXPECT_EQ(a.game().state().SideToMove, 1);
    EXPECT_EQ(a.File(), b.File());

    // The broker goes down: White's click plays nothing, and says why; back up, it plays.
    broker.Kill();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !a.window->Net()->Client()->IsConnected(); }, 20000));
    MoveList legal;
    ListLegalMoves(a.game().state().Current(), legal);
    a.Click(legal.moves[0]);
    EXPECT_EQ(a.game().state().CurrentPly, 13);
    EXPECT_TRUE(a.window->StatusText().contains(u"нет связи"_s))
        << a.window->StatusText().toStdString();
    broker.Start();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return a.window->Net()->Client()->IsConnected() &&
                   b.window->Net()->Client()->IsConnected() && !a.room().Holder(2).empty();
        },
        30000));
    a.Click(legal.moves[0]);
    ASSERT_TRUE(QTest::qWaitFor([&] { return both(14); }, 10000));

    // B leaves: A sees its seats' holder gone; B's game goes on at B, undo and all.
    b.window->Net()->Leave();
    const QWidget* red = a.window->controls().Image[1];
    EXPECT_TRUE(QTest::qWaitFor([&] { return red->toolTip().contains(u"отключился"_s); }, 10000))
        << red->toolTip().toStdString();
    EXPECT_TRUE(b.window->controls().bBackStep->isEnabled());
    EXPECT_FALSE(a.window->controls().bBackStep->isEnabled());
}

} // namespace
} // namespace tavlon::gui_test

#endif
