// The setup editor through the window: its panel, the figure keys, the wheel and placing.
#include "fixture.h"

#include <QAbstractItemView>
#include <QFile>
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
        EXPECT_EQ(window->game().Setup().state().SetupFigureIndex, row.figure) << row.name;
    }
    Wheel(ui().img, false);
    EXPECT_EQ(window->game().Setup().state().SetupFigureIndex, 2);
    Wheel(ui().img, true);
    Wheel(ui().img, true);
    EXPECT_EQ(window->game().Setup().state().SetupFigureIndex, 0);

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
    EXPECT_EQ(window->game().Setup().state().SetupMode, 0);
}

TEST_F(SetupTest, ToolbarEntryShowsThePreviewUnderThePointerUntilItLeaves) {
    StartGame();
    QTest::mouseClick(ui().sbSetupPosition, Qt::LeftButton);
    ASSERT_EQ(window->game().Setup().state().SetupMode, 1);
    Key(Qt::Key_Home); // White's pawn
    const QRgb black = qRgb(0, 0, 0);
    ASSERT_EQ(BoardPixel(100, 220), black); // (3, 6) is an empty black square
    HoverSquare(3, 6);
    EXPECT_NE(BoardPixel(100, 220), black);
    EXPECT_EQ(BoardCursor(), Qt::DragMoveCursor);
    EXPECT_EQ(state().Board().at(3, 6), 0) << "a preview places nothing";
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(ui().img, &leave);
    EXPECT_EQ(BoardPixel(100, 220), black);
    EXPECT_EQ(Status(), QString());
}

TEST_F(SetupTest, PositionSavedAsTemplateIsListedAtOnceAndAtTheNextStartAndPlays) {
    StartGame();
    Key(Qt::Key_I, Qt::ControlModifier);
    Key(Qt::Key_Home);
    ClickSquare(5, 6); // a White pawn on E3
    ASSERT_EQ(state().Board().at(5, 6), 11);
    ASSERT_TRUE(ui().cbSaveAs->isEnabled());
    dialogs.saveAnswers << Path(u"Positions/mine"_s);
    ui().cbSaveAs->setCurrentIndex(1);
    emit ui().cbSaveAs->activated(1);
    ASSERT_EQ(dialogs.saveTitles, QStringList{u"Сохранение позиции"_s});
    EXPECT_EQ(dialogs.saveFolders.value(0), Path(u"Positions"_s));
    ASSERT_TRUE(QFile::exists(Path(u"Positions/mine.tvl"_s)));
    EXPECT_GE(ui().cbShablon->findText(u"mine.tvl"_s), 0) << "listed at once";

    // The next start lists it too; choosing it in setup mode installs it on the first board.
    window.reset();
    window = std::make_unique<TF>();
    window->SetDialogs(&dialogs);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const int index = ui().cbShablon->findText(u"mine.tvl"_s);
    ASSERT_GE(index, 0);
    QTest::mouseClick(ui().sbSetupPosition, Qt::LeftButton);
    ASSERT_EQ(state().Board().at(5, 6), 0);
    ui().cbShablon->setCurrentIndex(index);
    emit ui().cbShablon->activated(index);
    EXPECT_EQ(state().Board().at(5, 6), 11);
    EXPECT_EQ(state().CurrentPly, 1);
    ASSERT_TRUE(ui().bStartPosition->isEnabled());
    QTest::mouseClick(ui().bStartPosition, Qt::LeftButton);
    ASSERT_EQ(window->game().Setup().state().SetupMode, 0);
    HoverSquare(1, 1); // the pointer comes back from the button
    ClickSquare(5, 6);
    ClickSquare(5, 5); // E3-E4 from the set-up position
    EXPECT_EQ(state().CurrentPly, 2);
    EXPECT_EQ(state().Board().at(5, 5), 11);
    EXPECT_EQ(ListLines(), QStringList{u"1. E3E4"_s});
}

// Escape in the open template list closes it and changes nothing: the entry shown, the
// board and the list's own highlight stay as they were.
TEST_F(SetupTest, EscapeInTheTemplateListLeavesItAsItWas) {
    StartGame();
    for (const QString& name : {u"a.tvl"_s, u"b.tvl"_s, u"c.tvl"_s}) {
        dialogs.saveAnswers << Path(u"Positions/"_s + name);
        Key(Qt::Key_I, Qt::ControlModifier);
        ui().cbSaveAs->setCurrentIndex(1);
        emit ui().cbSaveAs->activated(1);
    }
    Key(Qt::Key_I, Qt::ControlModifier);
    QComboBox* list = ui().cbShablon;
    ASSERT_EQ(list->count(), 3);
    const TBoard board = state().Board();
    for (const int shown : {1, -1}) { // the entry setup shows, and none (after a save)
        SCOPED_TRACE(shown);
        list->setCurrentIndex(shown);
        QTest::mouseClick(list, Qt::LeftButton);
        ASSERT_TRUE(list->view()->isVisible());
        QTest::keyClick(list->view(), Qt::Key_Down);
        QTest::keyClick(list->view(), Qt::Key_Down);
        QTest::keyClick(list->view(), Qt::Key_Escape);
        EXPECT_FALSE(list->view()->isVisible());
        EXPECT_EQ(list->currentIndex(), shown);
        EXPECT_EQ(state().Board(), board);
        EXPECT_TRUE(window->game().Setup().Active());
    }
}

TEST_F(SetupTest, SaveAsListOpensOnTypingOnlyAfterAClick) {
    StartGame();
    Key(Qt::Key_I, Qt::ControlModifier);
    QComboBox* saveAs = ui().cbSaveAs;
    ASSERT_TRUE(saveAs->isEnabled());
    saveAs->setFocus();
    QTest::keyClick(saveAs, Qt::Key_S);
    EXPECT_FALSE(saveAs->view()->isVisible());
    QTest::mouseClick(saveAs, Qt::LeftButton);
    saveAs->hidePopup();
    QTest::keyClick(saveAs, Qt::Key_S);
    EXPECT_TRUE(saveAs->view()->isVisible());
    saveAs->hidePopup();
}

} // namespace
} // namespace tavlon::gui_test
