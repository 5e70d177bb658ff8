// Computer players in the real window: three computer seats answer a person's clicks on a
// worker thread, and the game file is the same as that of the same moves clicked by people.
#include "fixture.h"

#include "rules/moves.h"
#include "storage/autosavewriter.h"
#include "ui/computerplayers.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

namespace tavlon::gui_test {
namespace {

using ComputersTest = WindowTest;

// The squares of each move on the line, read back as the core carried them out.
struct PlayedMove {
    Square from, to;
};

TEST_F(ComputersTest, APersonAndThreeComputersPlayAndTheFileIsTheSameMovesClicked) {
    StartGame();
    Players players;
    players.level[2] = players.level[3] = players.level[4] = 1;
    window->SetPlayers(players);

    // White plays a listed move each turn (the last, to vary from the computers' taste);
    // the computers answer on their own. A White left without a move ends the game early.
    QElapsedTimer clock;
    clock.start();
    bool stuck = false;
    while (state().CurrentPly < 41 && !stuck && clock.elapsed() < 90000) {
        if (window->game().ComputerToMove() == 0 && state().SideToMove == 1) {
            MoveList moves;
            ListLegalMoves(state().Current(), moves);
            stuck = moves.size == 0;
            if (!stuck) {
                const Move m = moves.moves[moves.size - 1];
                ClickSquare(m.from.c, m.from.r);
                ClickSquare(m.to.c, m.to.r);
                if (input().PromotionPending)
                    window->game().bInsertOkClick();
            }
        }
        QTest::qWait(20);
    }
    const int plies = state().CurrentPly - 1;
    ASSERT_GE(plies, 12) << "the computers did not answer within the time";
    // Between two computer moves a person can follow: no sooner than about half a second.
    EXPECT_GE(clock.elapsed(), (plies * 3 / 4 - 1) * 450);

    // The same moves clicked by four people give the same autosave, byte for byte.
    const auto played = std::make_unique<GameState>(state());
    window->game().FinishAutosave();
    QFile first(QString::fromStdString(window->game().AutosavePath()));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    const QByteArray bytes = first.readAll();
    first.close();

    window->SetPlayers(Players{});
    // New game asks to save the game on the board; the fake dialogs answer No.
    window->game().mmNewClick();
    for (std::uint16_t ply = 1; ply <= plies; ++ply) {
        const Position before = played->PositionAt(ply);
        MoveList moves;
        ListLegalMoves(before, moves);
        bool found = false;
        for (const Move& m : moves) {
            Position after = before;
            CarryOut(after, m);
            if (after.board == played->BoardHistory[ply + 1]) {
                ClickSquare(m.from.c, m.from.r);
                ClickSquare(m.to.c, m.to.r);
                if (input().PromotionPending) {
                    // The window's promotion list holds bishop, knight and rook in that order.
                    window->controls().cbFigures->setCurrentIndex(m.promotion - kBishop);
                    window->game().bInsertOkClick();
                }
                found = true;
                break;
            }
        }
        ASSERT_TRUE(found) << "ply " << ply << " is no listed move";
    }
    window->game().FinishAutosave();
    QFile second(QString::fromStdString(window->game().AutosavePath()));
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    EXPECT_TRUE(second.readAll() == bytes);
}

} // namespace
} // namespace tavlon::gui_test
