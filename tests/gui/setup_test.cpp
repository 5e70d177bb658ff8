// The setup editor through the window: its panel, the figure keys, the wheel and placing.
#include "fixture.h"

#include <QTest>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

using SetupTest = WindowTest;

// One notch of the wheel over the board image's middle.
void Wheel(QWidget* board, bool towardsUser) {
    const QPointF at(160, 160);
    QWheelEvent wheel(at, board->mapToGlobal(at), QPoint(), QPoint(0, towardsUser ? -120 : 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(board, &wheel);
}

TEST_F(SetupTest, EnterOnTheIntroScreenStartsAGame) {
    Key(Qt::Key_Return);
    EXPECT_EQ(state().GameStarted, 1);
    EXPECT_EQ(BoardPixel(20, 20), FigureColor(25));
}

TEST_F(SetupTest, ThePanelCoversTheTopPanelAndTheKeysChooseTheFigure) {
    StartGame();
    Key(Qt::Key_I, Qt::ControlModifier);
    ASSERT_TRUE(ui().plSetupPosition->isVisible());
    EXPECT_EQ(ui().plSetupPosition->pos(), QPoint(2, 2));
    EXPECT_FALSE(ui().plInterface->isEnabled());
    EXPECT_FALSE(ui().cbOrder->isVisible());
    EXPECT_TRUE(ui().bStartPosition->isEnabled()); // the four kings stand

    struct Row {
        const char* name;
        int key;
        int figure;
    };
    const Row rows[] = {{"3: Green's king", Qt::Key_3, 15},
                        {"Home", Qt::Key_Home, 1},
                        {"Backspace", Qt::Key_Backspace, 0},
                        {"End", Qt::Key_End, 20},
                        {"Space wraps", Qt::Key_Space, 1}};
    for (const Row& row : rows) {
        Key(row.key);
        EXPECT_EQ(state().SetupFigureIndex, row.figure) << row.name;
    }
    Wheel(ui().img, false);
    EXPECT_EQ(state().SetupFigureIndex, 2);
    Wheel(ui().img, true);
    Wheel(ui().img, true);
    EXPECT_EQ(state().SetupFigureIndex, 0);

    Key(Qt::Key_A); // letters stay out of the notation box in setup mode
    EXPECT_FALSE(ui().eInput->hasFocus());
}

TEST_F(SetupTest, ClicksPlaceAndRemoveFiguresAndStartPlay) {
    StartGame();
    Key(Qt::Key_I, Qt::ControlModifier);
    Key(Qt::Key_End);  // Brown's king
    Key(Qt::Key_Home); // White's pawn
    ClickSquare(3, 6);
    EXPECT_EQ(state().Board().at(3, 6), 11);
    EXPECT_EQ(BoardPixel(100, 220), FigureColor(11));
    ClickSquare(3, 6, Qt::RightButton);
    EXPECT_EQ(state().Board().at(3, 6), 0);
    QTest::mouseClick(ui().bStartPosition, Qt::LeftButton);
    EXPECT_FALSE(ui().plSetupPosition->isVisible());
    EXPECT_TRUE(ui().plInterface->isEnabled());
    EXPECT_EQ(state().SetupMode, 0);
}

} // namespace
} // namespace tavlon::gui_test
