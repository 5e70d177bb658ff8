// The game at a glance in the window: tints of the last moves, frames on kings in check and
// round the board, the mate notice, the "Вид" check items and what they leave unchanged.
#include "fixture.h"

#include "model/startpos.h"
#include "ui/glanceview.h"
#include "ui/settings.h"
#include "ui/widgets.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

using GlanceTest = WindowTest;

// A pixel near the top-left corner of square (c, r), clear of the piece and of the frames.
QRgb SquareCorner(const QImage& board, int c, int r) {
    return board.pixel(40 * (c - 1) + 6, 40 * (r - 1) + 6);
}

TEST_F(GlanceTest, CheckItemsStartOnAndAreRemembered) {
    ui::GlanceView& view = window->glanceView();
    for (QAction* item : {view.mmViewLastMoves, view.mmViewChecks, view.mmViewTurnFrame}) {
        EXPECT_TRUE(item->isCheckable());
        EXPECT_TRUE(item->isChecked()) << item->text().toStdString();
    }
    EXPECT_EQ(view.mmViewLastMoves->text(), u"Показывать последние ходы"_s);
    EXPECT_EQ(view.mmViewChecks->text(), u"Показывать шах на доске"_s);
    EXPECT_EQ(view.mmViewTurnFrame->text(), u"Рамка цвета игрока"_s);
    EXPECT_TRUE(window->menu().mmView->actions().contains(view.mmViewTurnFrame));

    const QString ini = Path(u"tavlon.ini"_s);
    {
        QSettings settings(ini, QSettings::IniFormat);
        ASSERT_TRUE(ui::RememberSettings(*window, settings).isEmpty());
        view.mmViewChecks->trigger();
        window.reset();
    }
    {
        QSettings settings(ini, QSettings::IniFormat);
        window = std::make_unique<TF>();
        EXPECT_TRUE(ui::RememberSettings(*window, settings).isEmpty());
        EXPECT_TRUE(window->glanceView().mmViewLastMoves->isChecked());
        EXPECT_FALSE(window->glanceView().mmViewChecks->isChecked());
        EXPECT_TRUE(window->glanceView().mmViewTurnFrame->isChecked());
        window.reset();
    }
    QFile damaged(ini);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("[view]\nlastMoves=perhaps\n");
    damaged.close();
    QSettings settings(ini, QSettings::IniFormat);
    window = std::make_unique<TF>();
    EXPECT_TRUE(ui::RememberSettings(*window, settings).contains(ini));
    EXPECT_TRUE(window->glanceView().mmViewLastMoves->isChecked());
    window.reset();
}

TEST_F(GlanceTest, TintsAndFramesOnTheBoardAndRoundIt) {
    StartGame();
    ClickSquare(2, 8); // the White knight B1 ...
    ClickSquare(1, 6); // ... to A3
    const QImage& board = ui().img->Picture();
    EXPECT_EQ(SquareCorner(board, 2, 8), qRgb(255, 235, 140)) << "B1, a white square";
    EXPECT_EQ(SquareCorner(board, 1, 6), qRgb(150, 120, 0)) << "A3, a black square";
    EXPECT_EQ(board.pixel(20, 220), FigureColor(16)) << "the knight itself keeps its colours";
    EXPECT_EQ(SquareCorner(board, 2, 7), qRgb(0, 0, 0)) << "B2 is not touched";

    // Red's keyboard brings the Red knight A7 to F6, a knight's jump from the Green king E8.
    Type(u"a7f6"_s);
    Key(Qt::Key_Return);
    ASSERT_EQ(state().CurrentPly, 3);
    EXPECT_EQ(SquareCorner(board, 1, 2), qRgb(170, 0, 0)) << "A7, Red's from-square";
    EXPECT_EQ(SquareCorner(board, 6, 3), qRgb(170, 0, 0)) << "F6, Red's to-square";
    EXPECT_EQ(SquareCorner(board, 2, 8), qRgb(255, 235, 140)) << "White's move stays";
    EXPECT_EQ(board.pixel(160 + 1, 1), qRgb(255, 0, 0)) << "the Green king's red frame";

    QWidget* frame = window->findChild<QWidget*>(u"turnFrame"_s);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->grab().toImage().pixel(2, 2), qRgb(0, 160, 0)) << "Green to move";
    EXPECT_EQ(frame->geometry(), ui().img->geometry().adjusted(-4, -4, 4, 4));

    ui::GlanceView& view = window->glanceView();
    view.mmViewLastMoves->trigger();
    view.mmViewChecks->trigger();
    view.mmViewTurnFrame->trigger();
    EXPECT_EQ(SquareCorner(board, 6, 3), qRgb(0, 0, 0));
    EXPECT_EQ(SquareCorner(board, 2, 8), qRgb(255, 255, 255));
    EXPECT_EQ(board.pixel(160 + 1, 1), qRgb(255, 255, 255));
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(GlanceTest, MateTurnsTheLabelRedAndSaysWhoseKing) {
    StartGame();
    // The Red king A8 is held on its file by a Brown rook on A1 and on the B file by White.
    TBoard b;
    b.at(1, 1) = 28;
    b.at(1, 8) = 47;
    b.at(2, 6) = 17;
    b.at(8, 1) = 38;
    b.at(8, 5) = 48;
    b.at(5, 8) = 18;
    state().BoardHistory[1] = b;
    DeriveStartFlags(state(), 1);
    window->game().RefreshBoard(1);
    ClickSquare(2, 6);
    ClickSquare(2, 8);
    QLabel* red = ui().lCheck[1];
    EXPECT_EQ(red->text(), u"МАТ!"_s);
    EXPECT_EQ(red->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(Status(), u"Мат королю красных"_s);
    EXPECT_EQ(ui().lCheck[0]->text(), u"ШАХ!"_s);
    window->game().lCheckClick(2); // clearing the flag keeps the notice
    EXPECT_EQ(red->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    window->game().mmUndoClick();
    EXPECT_EQ(red->text(), u"ШАХ!"_s);
    EXPECT_EQ(red->palette().color(QPalette::WindowText), QColor(192, 192, 192));
}

// The same moves with every glance item on and off: the game file and the autosave hold
// the same bytes.
TEST_F(GlanceTest, FilesDoNotDependOnTheCheckItems) {
    QByteArray saved[2], autosaved[2];
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            ui::GlanceView& view = window->glanceView();
            for (QAction* item : {view.mmViewLastMoves, view.mmViewChecks, view.mmViewTurnFrame})
                item->trigger();
        }
        window->game().mmNewClick();
        Hover(1, 1); // a pointer resting where the last test left it would not move
        for (const auto& [from, to] : {std::pair{QPoint(2, 8), QPoint(1, 6)},
                                       {QPoint(1, 2), QPoint(3, 1)},
                                       {QPoint(7, 1), QPoint(8, 3)}}) {
            ClickSquare(from.x(), from.y());
            ClickSquare(to.x(), to.y());
        }
        ASSERT_EQ(state().CurrentPly, 4);
        const QString path = Path(u"Saves/round%1.tvl"_s.arg(round));
        ASSERT_TRUE(window->game().WriteGameFile(path.toStdString()));
        window->game().FinishAutosave(); // the autosave is written by a thread of its own
        QFile game(path), autosave(Path(u"temp.tvl"_s));
        ASSERT_TRUE(game.open(QIODevice::ReadOnly));
        ASSERT_TRUE(autosave.open(QIODevice::ReadOnly));
        saved[round] = game.readAll();
        autosaved[round] = autosave.readAll();
    }
    EXPECT_FALSE(saved[0].isEmpty());
    EXPECT_EQ(saved[0], saved[1]);
    EXPECT_EQ(autosaved[0], autosaved[1]);
}

} // namespace
} // namespace tavlon::gui_test
