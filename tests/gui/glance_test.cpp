// The game at a glance in the window: tints of the last moves, frames on kings in check and
// round the board, the mate notice, the board turned toward the player to move, the scale,
// the "Вид" items and what they leave unchanged.
#include "fixture.h"

#include "model/startpos.h"
#include "ui/boardgeometry.h"
#include "ui/glanceview.h"
#include "ui/settings.h"
#include "ui/widgets.h"
#include "ui/zoom.h"

#include <QAction>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSettings>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

using GlanceTest = WindowTest;

// A pixel near the top-left corner of square (c, r), clear of the piece and of the frames.
QRgb SquareCorner(const QImage& board, int c, int r) {
    return board.pixel(40 * (c - 1) + 6, 40 * (r - 1) + 6);
}

TEST_F(GlanceTest, ViewItemsStartAsDescribedAndAreRemembered) {
    ui::GlanceView& view = window->glanceView();
    for (QAction* item :
         {view.mmViewLastMoves, view.mmViewChecks, view.mmViewTurnFrame, view.mmViewTurnBoard}) {
        EXPECT_TRUE(item->isCheckable());
        EXPECT_EQ(item->isChecked(), item != view.mmViewTurnBoard) << item->text().toStdString();
        EXPECT_TRUE(window->menu().mmView->actions().contains(item));
    }
    EXPECT_EQ(view.mmViewLastMoves->text(), u"Показывать последние ходы"_s);
    EXPECT_EQ(view.mmViewChecks->text(), u"Показывать шах на доске"_s);
    EXPECT_EQ(view.mmViewTurnFrame->text(), u"Рамка цвета игрока"_s);
    EXPECT_EQ(view.mmViewTurnBoard->text(), u"Доска к игроку"_s);
    ui::ScaleMenu& scale = window->scaleMenu();
    EXPECT_EQ(scale.Menu()->title(), u"Масштаб"_s);
    EXPECT_TRUE(window->menu().mmView->actions().contains(scale.Menu()->menuAction()));
    QStringList scales;
    for (QAction* item : scale.Menu()->actions())
        scales << item->text() + (item->isChecked() ? u"*"_s : QString());
    EXPECT_EQ(scales, QStringList({u"100 %*"_s, u"150 %"_s, u"200 %"_s}));

    const QString ini = Path(u"tavlon.ini"_s);
    {
        QSettings settings(ini, QSettings::IniFormat);
        ASSERT_TRUE(ui::RememberSettings(*window, settings).isEmpty());
        view.mmViewChecks->trigger();
        view.mmViewTurnBoard->trigger();
        window->scaleMenu().screenArea = [] { return QRect(0, 0, 2560, 1440); };
        window->scaleMenu().Item(200)->trigger();
        EXPECT_EQ(dialogs.messages,
                  QStringList{u"Масштаб изменится при следующем запуске программы."_s});
        window.reset();
    }
    {
        QSettings settings(ini, QSettings::IniFormat);
        window = std::make_unique<TF>();
        EXPECT_TRUE(ui::RememberSettings(*window, settings).isEmpty());
        EXPECT_TRUE(window->glanceView().mmViewLastMoves->isChecked());
        EXPECT_FALSE(window->glanceView().mmViewChecks->isChecked());
        EXPECT_TRUE(window->glanceView().mmViewTurnFrame->isChecked());
        EXPECT_TRUE(window->glanceView().mmViewTurnBoard->isChecked());
        EXPECT_EQ(window->scaleMenu().Chosen(), 200);
        EXPECT_TRUE(window->scaleMenu().Item(200)->isChecked());
        window.reset();
    }
    EXPECT_EQ(ui::RememberedScale(ini), 200) << "what the next start applies";

    for (const char* value : {"lastMoves=perhaps", "scale=120"}) {
        SCOPED_TRACE(value);
        QFile damaged(ini);
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("[view]\n" + QByteArray(value) + "\n");
        damaged.close();
        QSettings settings(ini, QSettings::IniFormat);
        window = std::make_unique<TF>();
        EXPECT_TRUE(ui::RememberSettings(*window, settings).contains(ini));
        EXPECT_TRUE(window->glanceView().mmViewLastMoves->isChecked());
        EXPECT_EQ(ui::RememberedScale(ini), 100);
        window.reset();
    }
}

// The window at 200 % would stand out of an 800 x 600 screen: the choice is refused.
TEST_F(GlanceTest, AScaleTooBigForTheScreenIsRefused) {
    ui::ScaleMenu& scale = window->scaleMenu();
    scale.screenArea = [] { return QRect(0, 0, 800, 600); };
    scale.Item(200)->trigger();
    EXPECT_EQ(dialogs.messages, QStringList{u"Окно в масштабе 200 % не поместится на экране."_s});
    EXPECT_EQ(scale.Chosen(), 100);
    EXPECT_TRUE(scale.Item(100)->isChecked());
}

// A remembered scale the screen cannot hold gives way, at the start, to the largest that fits.
TEST(ScaleAtStart, TheLargestScaleThatFitsTheScreen) {
    struct Row {
        int chosen, screenWidth, screenHeight, fitting;
    };
    const QSize window = ui::kWindowAt100;
    for (const Row& row :
         {Row{200, 1024, 768, 100}, Row{200, 1920, 1080, 150}, Row{150, 2560, 1440, 150},
          Row{200, 2560, 1440, 200}, Row{100, 640, 480, 100}, Row{150, 0, 0, 150}}) {
        SCOPED_TRACE(row.chosen);
        const QSize screen(row.screenWidth, row.screenHeight);
        const int fitting = ui::FittingScale(row.chosen, window, screen);
        EXPECT_EQ(fitting, row.fitting) << row.screenWidth << " x " << row.screenHeight;
    }
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
    // Undone, the Red king is still in check from the Brown rook on its file.
    EXPECT_EQ(red->palette().color(QPalette::WindowText), QColor(0, 0, 0));
}

// The board widget's pixel in the middle of square (c, r) as the board is shown now.
QPoint ShownMiddle(const ui::BoardView& board, int c, int r) {
    const Square cell = ui::CellShowing({c, r}, board.QuarterTurns());
    return {40 * (cell.c - 1) + 20, 40 * (cell.r - 1) + 20};
}

TEST_F(GlanceTest, TheTurnedBoardShowsTheMoversArmyAtTheBottomAndClicksFollowIt) {
    window->glanceView().mmViewTurnBoard->trigger();
    StartGame();
    EXPECT_EQ(ui().img->QuarterTurns(), 0) << "White to move: the board as ever";
    ClickSquare(2, 8); // the White knight B1 ...
    ClickSquare(1, 6); // ... to A3
    ASSERT_EQ(state().SideToMove, 2);

    // Red's army at the bottom: its knight A7 second from the left in the bottom row, C8 at
    // the left end of the third row from the bottom.
    QWidget* board = ui().img;
    Hover(60, 300);
    Click(60, 300);
    EXPECT_EQ(input().SelectedPiece, 26);
    QImage shown = board->grab().toImage();
    EXPECT_EQ(shown.pixel(60, 300), FigureColor(26));
    EXPECT_EQ(shown.pixel(40 + 4, 280 + 4), qRgb(0, 0, 255)) << "the frame of the pick";
    Hover(20, 220);
    EXPECT_EQ(input().HoverSquare, (Square{3, 1}));
    Click(20, 220);
    EXPECT_EQ(state().Board().at(3, 1), 26);
    EXPECT_EQ(ListLines().last(), u"2. A7C8"_s);

    // Green's army at the top of the board is shown at the bottom; its knight G8 is carried
    // to H6. The square it leaves is shown empty where it is shown.
    ASSERT_EQ(state().SideToMove, 3);
    EXPECT_EQ(ShownMiddle(*ui().img, 7, 1), QPoint(60, 300));
    Hover(60, 300);
    QTest::mousePress(board, Qt::LeftButton, {}, {60, 300});
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 220), board->mapToGlobal(QPointF(20, 220)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(board, &move);
    ASSERT_TRUE(ui().img->Carrying());
    shown = board->grab().toImage();
    EXPECT_EQ(shown.pixel(60, 300), qRgb(255, 255, 255)) << "G8, a white square, left empty";
    EXPECT_NE(shown.pixel(20, 220), qRgb(0, 0, 0)) << "the knight carried over H6, a black square";
    QTest::mouseRelease(board, Qt::LeftButton, {}, {20, 220});
    EXPECT_EQ(state().Board().at(8, 3), 36);

    // Brown to move: Red's move is tinted where its squares are shown (A7, a black square,
    // in the top row's second cell from the right), while the picture F2 saves keeps
    // White's side at the bottom.
    ASSERT_EQ(state().SideToMove, 4);
    EXPECT_EQ(ShownMiddle(*ui().img, 1, 2), QPoint(260, 20));
    shown = board->grab().toImage();
    EXPECT_EQ(shown.pixel(240 + 6, 6), qRgb(170, 0, 0));
    EXPECT_EQ(SquareCorner(ui().img->Picture(), 1, 2), qRgb(170, 0, 0));
    EXPECT_EQ(BoardPixel(SquareMiddle(8, 3).x(), SquareMiddle(8, 3).y()), FigureColor(36));

    // A list jump back to Red's move turns the board toward Green again; switched off, the
    // board is shown as ever.
    window->game().ListBoxClick(1);
    EXPECT_EQ(ui().img->QuarterTurns(), ui::QuarterTurnsToward(3));
    window->glanceView().mmViewTurnBoard->trigger();
    EXPECT_EQ(ui().img->QuarterTurns(), 0);
    EXPECT_EQ(board->grab().toImage().pixel(SquareMiddle(3, 1)), FigureColor(26));
}

// The same moves with every view option off and on give the same bytes in the game file and
// the autosave, at every scale the tests run at: the digests are those of this game.
TEST_F(GlanceTest, FilesDoNotDependOnTheViewOptions) {
    QByteArray saved[2], autosaved[2];
    for (int round = 0; round < 2; ++round) {
        ui::GlanceView& view = window->glanceView();
        for (QAction* item :
             {view.mmViewLastMoves, view.mmViewChecks, view.mmViewTurnFrame, view.mmViewTurnBoard})
            item->setChecked(round == 1);
        window->game().mmNewClick();
        Hover(1, 1); // a pointer resting where the last test left it would not move
        for (const auto& [from, to] : {std::pair{QPoint(2, 8), QPoint(1, 6)},
                                       {QPoint(1, 2), QPoint(3, 1)},
                                       {QPoint(7, 1), QPoint(8, 3)}}) {
            for (const QPoint square : {from, to}) {
                const QPoint at = ShownMiddle(*ui().img, square.x(), square.y());
                Hover(at.x(), at.y());
                Click(at.x(), at.y());
            }
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
    EXPECT_EQ(ui().img->QuarterTurns(), ui::QuarterTurnsToward(4));
    EXPECT_EQ(saved[0], saved[1]);
    EXPECT_EQ(autosaved[0], autosaved[1]);
    const auto digest = [](const QByteArray& bytes) {
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().toStdString();
    };
    EXPECT_EQ(digest(saved[0]), "c3c245f943c2c53738262a7186aa74a0ce38edb9");
    EXPECT_EQ(digest(autosaved[0]), "43636b972bd219db7a69a376dc72d03dab2821db");
}

} // namespace
} // namespace tavlon::gui_test
