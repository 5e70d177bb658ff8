// The whole window at a scale above 100 %: ctest runs these (with the layout tests and the
// game file test) in programs started with QT_SCALE_FACTOR, as the game starts at a remembered
// scale; at 100 % they are skipped.
#include "fixture.h"
#include "ui/boardgeometry.h"
#include "ui/glanceview.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSet>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

class ScaledWindow : public WindowTest {
  protected:
    void SetUp() override {
        scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
        if (scale <= 1)
            GTEST_SKIP() << "run with QT_SCALE_FACTOR above 1";
        WindowTest::SetUp();
    }
    // The screen pixel at board pixel `at`, in a picture of the whole window.
    QPoint OnScreen(QPoint at) const {
        const QPointF p = QPointF(ui().img->mapTo(window.get(), at)) * scale;
        return {static_cast<int>(p.x()), static_cast<int>(p.y())};
    }
    double scale = 1;
};

// Every control keeps its place in the window's own units, so on the screen it stands at
// its place at 100 % times the scale; the board and its pieces are enlarged without smoothing.
TEST_F(ScaledWindow, TheWindowGrowsEvenlyAndThePiecesStayCrisp) {
    EXPECT_EQ(window->devicePixelRatioF(), scale);
    const QImage shot = window->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(497, window->menuBar()->height() + 473 + 19) * scale);
    EXPECT_EQ(ui().img->mapTo(window.get(), QPoint()),
              QPoint(2 + 36, window->menuBar()->height() + 93 + 30));

    StartGame();
    const QImage& picture = ui().img->Picture();
    const QImage shown = ui().img->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(320, 320) * scale);
    EXPECT_EQ(window->grab().toImage().pixel(OnScreen(SquareMiddle(4, 8))),
              picture.pixel(SquareMiddle(4, 8)))
        << "the White king where the board stands in the window";
    QSet<QRgb> drawn;
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 320; ++x)
            drawn.insert(picture.pixel(x, y));
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            EXPECT_EQ(shown.pixel(SquareMiddle(c, r) * scale), picture.pixel(SquareMiddle(c, r)));
    // Every screen pixel of the board is one of the picture's colours: nothing is blended.
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            ASSERT_TRUE(drawn.contains(shown.pixel(x, y))) << x << "," << y;
}

// The board as it should be on the screen, worked out from the picture alone: each square
// moved to the cell where the turned board shows it, then every pixel enlarged unsmoothed.
QImage ExpectedShown(const QImage& picture, int turns, double scale) {
    QImage turned(320, 320, QImage::Format_RGB32);
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r) {
            const Square cell = ui::CellShowing({c, r}, turns);
            const QImage square = picture.copy(40 * (c - 1), 40 * (r - 1), 40, 40);
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x)
                    turned.setPixel(40 * (cell.c - 1) + x, 40 * (cell.r - 1) + y,
                                    square.pixel(x, y));
        }
    return turned.scaled(QSize(320, 320) * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The shown board is kept between redraws and only changed squares are painted again: after
// every kind of change it is still exactly the picture, enlarged and turned.
TEST_F(ScaledWindow, TheShownBoardFollowsEveryChange) {
    const auto expectShown = [&](const char* step) {
        SCOPED_TRACE(step);
        QCoreApplication::processEvents();
        const QImage shown = ui().img->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown, ExpectedShown(ui().img->Picture(), ui().img->QuarterTurns(), scale));
    };
    expectShown("the intro");
    StartGame();
    expectShown("a new game");
    ClickSquare(4, 7); // White's pawn D2, its moves hinted ...
    expectShown("a pick");
    ClickSquare(4, 5); // ... to D4, its squares tinted
    expectShown("a move");
    window->glanceView().mmViewTurnBoard->setChecked(true);
    expectShown("turned toward Red");
    window->SetInputText("a7c8"); // a typed move of Red's
    window->game().bbPlayClick();
    expectShown("turned toward Green");
    window->game().mmUndoClick();
    expectShown("undone");
}

// A screen pixel is a fraction of a board pixel: it belongs to the square it is drawn in.
TEST_F(ScaledWindow, ThePointerFindsTheSquareItIsOver) {
    StartGame();
    QWidget* board = ui().img;
    for (int k = 1; k < 8; ++k) {
        SCOPED_TRACE(k);
        Hover(40 * k - 1, 300);
        EXPECT_EQ(input().HoverSquare, (Square{k, 8}));
        Hover(40 * k, 300);
        EXPECT_EQ(input().HoverSquare, (Square{k + 1, 8}));
        // The last screen pixel of square k, as a pointer on the screen reports it.
        const QPointF last((40 * k * scale - 1) / scale, 300);
        QMouseEvent move(QEvent::MouseMove, last, board->mapToGlobal(last), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(board, &move);
        EXPECT_EQ(input().HoverSquare, (Square{k, 8}));
    }
    ClickSquare(4, 7); // White's pawn D2 ...
    ClickSquare(4, 5); // ... to D4
    EXPECT_EQ(state().Board().at(4, 5), 14);
    EXPECT_EQ(ListLines(), QStringList{u"1. D2D4"_s});
}

} // namespace
} // namespace tavlon::gui_test
