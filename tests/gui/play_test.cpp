// Playing through the window: the intro start area, moves by clicks with their hover
// verdicts, cancelling, promotion, typed moves, undo and redo, check labels and the list.
#include "fixture.h"

#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

using PlayTest = WindowTest;

QRgb SquareColorOf(int c, int r) {
    return (c + r) % 2 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

TEST_F(PlayTest, IntroStartAreaStartsAGameOnlyWithinItsPixelEdges) {
    struct Row {
        const char* name;
        QPoint at;
        bool starts;
    };
    const Row rows[] = {
        {"top-left corner", {90, 60}, true},   {"bottom-right corner", {220, 100}, true},
        {"left of the area", {89, 60}, false}, {"right of the area", {221, 100}, false},
        {"below the area", {150, 101}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        Hover(row.at.x(), row.at.y());
        EXPECT_EQ(BoardCursor(), row.starts ? Qt::PointingHandCursor : Qt::ArrowCursor);
        Click(row.at.x(), row.at.y());
        EXPECT_EQ(state().GameStarted, row.starts ? 1 : 0);
        EXPECT_EQ(BoardPixel(20, 20), row.starts ? FigureColor(25) : kIntroColor);
    }
}

TEST_F(PlayTest, HoverVerdictsShowInTheStatusBarAndThePointer) {
    StartGame();
    struct Row {
        const char* name;
        int c, r;
        std::string_view status;
        Qt::CursorShape cursor;
    };
    const Row beforePick[] = {
        {"own pawn", 4, 7, texts::kPickHint, Qt::PointingHandCursor},
        {"empty square", 4, 5, texts::kPickHint, Qt::ArrowCursor},
        {"red piece", 1, 1, texts::kOpponentPiece, Qt::ForbiddenCursor},
    };
    for (const Row& row : beforePick) {
        SCOPED_TRACE(row.name);
        HoverSquare(row.c, row.r);
        EXPECT_EQ(Status(), Text(row.status));
        EXPECT_EQ(BoardCursor(), row.cursor);
    }
    ClickSquare(4, 7); // pick the White pawn D2
    const Row afterPick[] = {
        {"double step", 4, 5, texts::kMovePossible, Qt::DragMoveCursor},
        {"three squares", 4, 4, texts::kMoveImpossible, Qt::ForbiddenCursor},
        {"own piece", 3, 7, texts::kOwnOrKing, Qt::ForbiddenCursor},
    };
    for (const Row& row : afterPick) {
        SCOPED_TRACE(row.name);
        HoverSquare(row.c, row.r);
        EXPECT_EQ(Status(), Text(row.status));
        EXPECT_EQ(BoardCursor(), row.cursor);
    }
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(ui().img, &leave);
    EXPECT_TRUE(Status().isEmpty());
}

TEST_F(PlayTest, MovesByClicksPassTheTurnAndFillTheList) {
    StartGame();
    ClickSquare(4, 7);
    ClickSquare(4, 5); // White D2-D4
    EXPECT_EQ(state().Board().at(4, 5), 14);
    EXPECT_EQ(state().SideToMove, 2);
    EXPECT_EQ(BoardPixel(4 * 40 - 20, 5 * 40 - 20), FigureColor(14));
    // D2 is empty now, its black square tinted as White's last move.
    EXPECT_EQ(BoardPixel(4 * 40 - 20, 7 * 40 - 20), qRgb(150, 120, 0));
    ClickSquare(2, 2);
    ClickSquare(3, 2); // Red B7-C7
    EXPECT_EQ(ListLines(), QStringList({u"1. D2D4"_s, u"2. B7C7"_s}));
    const ui::PanelColors colors = ui::PanelColorsOf(window->palette());
    EXPECT_EQ(ui().Image[2]->Picture().pixelColor(1, 1), colors.active);
    EXPECT_EQ(ui().Image[0]->Picture().pixelColor(1, 1), colors.idle);
    EXPECT_TRUE(ui().bBackStep->isEnabled());
    EXPECT_FALSE(ui().bForward->isEnabled());
}

TEST_F(PlayTest, RightClickCancelsThePick) {
    StartGame();
    ClickSquare(4, 7);
    EXPECT_EQ(BoardPixel(4 * 40 - 36, 7 * 40 - 36), qRgb(0, 0, 255)); // the frame
    ClickSquare(4, 4, Qt::RightButton); // a square the pawn cannot reach
    EXPECT_EQ(input().ClickPhase, 0);
    EXPECT_EQ(state().Board().at(4, 7), 14);
    EXPECT_NE(BoardPixel(4 * 40 - 36, 7 * 40 - 36), qRgb(0, 0, 255));
    HoverSquare(4, 5);
    EXPECT_EQ(Status(), Text(texts::kPickHint));
    EXPECT_EQ(BoardCursor(), Qt::ArrowCursor);
    // Over a square the pawn may go to, the right button's release still only cancels.
    ClickSquare(4, 7);
    ClickSquare(4, 5, Qt::RightButton);
    EXPECT_EQ(state().CurrentPly, 1);
    EXPECT_EQ(input().ClickPhase, 0);
    EXPECT_EQ(state().Board().at(4, 7), 14);
}

TEST_F(PlayTest, MovesAreTypedWithTheRussianLayoutButNotBeforeTheFirstGame) {
    // Keys as X delivers them with the Russian layout: the key code is the capital letter.
    const auto typeKeys = [this](const QString& text) {
        for (const QChar ch : text) {
            const auto key = static_cast<Qt::Key>(ch.toUpper().unicode());
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                          : static_cast<QWidget*>(window.get());
            QTest::sendKeyEvent(QTest::Press, target, key, QString(ch), Qt::NoModifier);
            target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                 : static_cast<QWidget*>(window.get());
            QTest::sendKeyEvent(QTest::Release, target, key, QString(ch), Qt::NoModifier);
        }
    };
    typeKeys(u"в2в4"_s); // on the intro picture
    EXPECT_TRUE(ui().eInput->text().isEmpty());
    EXPECT_FALSE(ui().bbPlay->isEnabled());
    Type(u"d2d4"_s);
    EXPECT_TRUE(ui().eInput->text().isEmpty());
    EXPECT_EQ(state().CurrentPly, 0);

    StartGame();
    HoverSquare(6, 4);
    typeKeys(u"в2В4"_s.toLower());
    EXPECT_EQ(ui().eInput->text(), u"d2d4"_s);
    Key(Qt::Key_Return);
    EXPECT_EQ(state().Board().at(4, 5), 14);
    EXPECT_EQ(ListLines().last(), u"1. D2D4"_s);
}

TEST_F(PlayTest, PromotionIsChosenOnThePanelAndConfirmedWithEnter) {
    StartGame();
    ui().cbOrder->click(); // rules off: any move goes
    ClickSquare(2, 7);
    ClickSquare(2, 1); // White pawn B2 onto row 1
    ASSERT_TRUE(ui().plChoiceFigure->isVisible());
    EXPECT_FALSE(ui().plInterface->isEnabled());
    EXPECT_TRUE(ui().cbFigures->hasFocus());
    ui().cbFigures->setCurrentIndex(2); // "Ладья"
    Key(Qt::Key_Return);
    EXPECT_FALSE(ui().plChoiceFigure->isVisible());
    EXPECT_TRUE(ui().plInterface->isEnabled());
    EXPECT_EQ(state().Board().at(2, 1), 17);
    EXPECT_EQ(BoardPixel(60, 20), FigureColor(17));
}

TEST_F(PlayTest, TypedMoveIsFilteredAndPlayedWithEnter) {
    StartGame();
    HoverSquare(6, 4); // the pointer rests on the board while typing
    Type(u"c2x9c4"_s); // x and 9 are filtered; the first letter moves the focus
    EXPECT_TRUE(ui().eInput->hasFocus());
    EXPECT_EQ(ui().eInput->text(), u"c2c4"_s);
    EXPECT_TRUE(ui().bbPlay->isEnabled());
    Key(Qt::Key_Return);
    EXPECT_EQ(state().Board().at(3, 5), 13); // White's pawn number 3 from C2
    EXPECT_EQ(state().Board().at(3, 7), 0);
    EXPECT_EQ(BoardPixel(100, 180), FigureColor(13));
    EXPECT_TRUE(ui().eInput->text().isEmpty());
    EXPECT_FALSE(ui().bbPlay->isEnabled());
    EXPECT_EQ(ListLines().last(), u"1. C2C4"_s);
}

TEST_F(PlayTest, PastedTextKeepsOnlyTheNotationCharacters) {
    StartGame();
    ui().eInput->setFocus();
    ui().eInput->insert(u"d2 - d4!"_s);
    EXPECT_EQ(ui().eInput->text(), u"d2d4"_s);
    EXPECT_TRUE(ui().bbPlay->isEnabled());
    ui().eInput->setText(u"D2d4"_s);
    EXPECT_FALSE(ui().bbPlay->isEnabled());
}

TEST_F(PlayTest, UndoAndRedoByButtonsAndKeysAlsoWhileTypingAMove) {
    StartGame();
    ClickSquare(4, 7);
    ClickSquare(4, 5);
    ClickSquare(2, 2);
    ClickSquare(3, 2);
    ASSERT_EQ(state().CurrentPly, 3);
    QTest::mouseClick(ui().bBackStep, Qt::LeftButton);
    EXPECT_EQ(state().CurrentPly, 2);
    EXPECT_EQ(ListLines(), QStringList({u"1. D2D4"_s}));
    EXPECT_EQ(ui().ListBox->currentRow(), 0);
    EXPECT_TRUE(ui().bForward->isEnabled());
    QTest::mouseClick(ui().bForward, Qt::LeftButton);
    EXPECT_EQ(state().CurrentPly, 3);

    ui().eInput->setFocus();
    ui().eInput->insert(u"a"_s);
    Key(Qt::Key_Z, Qt::ControlModifier); // the menu's undo, not the box's
    EXPECT_EQ(state().CurrentPly, 2);
    EXPECT_EQ(ui().eInput->text(), u"a"_s);
    EXPECT_EQ(state().SideToMove, 2);
    Key(Qt::Key_F4);
    EXPECT_EQ(state().CurrentPly, 3);
    EXPECT_EQ(ListLines().size(), 2);
}

TEST_F(PlayTest, MoveListLinesAreClickedAndSteppedWithTheKeys) {
    StartGame();
    for (auto [from, to] : {std::pair{QPoint(4, 7), QPoint(4, 5)},
                            {QPoint(2, 2), QPoint(3, 2)},
                            {QPoint(5, 2), QPoint(5, 3)}}) {
        ClickSquare(from.x(), from.y());
        ClickSquare(to.x(), to.y());
    }
    ASSERT_EQ(state().CurrentPly, 4);
    EXPECT_EQ(ui().ListBox->currentRow(), 2);
    QListWidget* list = ui().ListBox;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(state().CurrentPly, 2);
    EXPECT_EQ(state().SideToMove, 2);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(state().Board().at(3, 2), 0); // Red's pawn is back on B7
    EXPECT_TRUE(list->hasFocus());
    Key(Qt::Key_Down);
    EXPECT_EQ(state().CurrentPly, 3);
    EXPECT_EQ(list->currentRow(), 1);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(state().CurrentPly, 1);
    EXPECT_EQ(list->currentRow(), -1);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(state().CurrentPly, 4);
    EXPECT_EQ(ListLines().size(), 3); // redo lists the lines again
    EXPECT_FALSE(ui().bForward->isEnabled());
    list->setCurrentRow(0);
    Key(Qt::Key_Return);
    EXPECT_EQ(state().CurrentPly, 2);
    EXPECT_EQ(ListLines(), QStringList({u"1. D2D4"_s})); // as undo leaves the list
}

// The pointer moved with `buttons` held, as while carrying a piece.
void MoveHolding(QWidget* board, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent move(QEvent::MouseMove, at, board->mapToGlobal(at), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(board, &move);
}

TEST_F(PlayTest, APieceIsCarriedWithTheLeftButtonAndARefusedDropPutsItBack) {
    StartGame();
    QWidget* board = ui().img;
    HoverSquare(4, 7);
    QTest::mousePress(board, Qt::LeftButton, {}, SquareMiddle(4, 7));
    MoveHolding(board, SquareMiddle(4, 7) + QPoint(5, 5), Qt::LeftButton);
    EXPECT_FALSE(ui().img->Carrying()); // still on its square
    MoveHolding(board, SquareMiddle(4, 5), Qt::LeftButton);
    ASSERT_TRUE(ui().img->Carrying());
    EXPECT_EQ(Status(), Text(texts::kMovePossible));
    EXPECT_EQ(BoardCursor(), Qt::DragMoveCursor);
    const QImage shown = board->grab().toImage();
    EXPECT_EQ(shown.pixel(SquareMiddle(4, 7)), SquareColorOf(4, 7)); // the square it left
    EXPECT_NE(shown.pixel(SquareMiddle(4, 5)), SquareColorOf(4, 5)); // the piece it carries
    MoveHolding(board, SquareMiddle(4, 4), Qt::LeftButton);
    EXPECT_EQ(Status(), Text(texts::kMoveImpossible));
    EXPECT_EQ(BoardCursor(), Qt::ForbiddenCursor);
    QTest::mouseRelease(board, Qt::LeftButton, {}, SquareMiddle(4, 4));
    EXPECT_FALSE(ui().img->Carrying());
    EXPECT_EQ(state().Board().at(4, 7), 14);
    EXPECT_EQ(input().ClickPhase, 0);
    EXPECT_EQ(BoardPixel(4 * 40 - 20, 7 * 40 - 20), FigureColor(14));

    MoveHolding(board, SquareMiddle(4, 7), Qt::NoButton);
    QTest::mousePress(board, Qt::LeftButton, {}, SquareMiddle(4, 7));
    MoveHolding(board, SquareMiddle(4, 5), Qt::LeftButton);
    EXPECT_TRUE(ui().img->Carrying());
    QTest::mouseRelease(board, Qt::LeftButton, {}, SquareMiddle(4, 5));
    EXPECT_EQ(state().Board().at(4, 5), 14);
    EXPECT_EQ(state().SideToMove, 2);
    EXPECT_EQ(ListLines(), QStringList{u"1. D2D4"_s});

    MoveHolding(board, SquareMiddle(2, 2), Qt::NoButton); // the right button carries nothing
    const auto redPawn = state().Board().at(2, 2);
    QTest::mousePress(board, Qt::RightButton, {}, SquareMiddle(2, 2));
    MoveHolding(board, SquareMiddle(3, 2), Qt::RightButton);
    EXPECT_FALSE(ui().img->Carrying());
    QTest::mouseRelease(board, Qt::RightButton, {}, SquareMiddle(3, 2));
    EXPECT_EQ(state().Board().at(2, 2), redPawn);
    EXPECT_EQ(input().ClickPhase, 0);
}

TEST_F(PlayTest, CheckLabelTurnsBlackAndAClickMakesItSilver) {
    StartGame();
    ui().cbOrder->click();
    ClickSquare(3, 8); // White's rook C1
    ClickSquare(1, 6); // to A3, below Red's king on A5 with A4 empty between them
    ASSERT_NE(state().CheckFlags[2], 0);
    EXPECT_EQ(ui().lCheck[1]->palette().color(QPalette::WindowText), QColor(Qt::black));
    QTest::mouseClick(ui().lCheck[1], Qt::LeftButton);
    EXPECT_EQ(state().CheckFlags[2], 0);
    EXPECT_EQ(ui().lCheck[1]->palette().color(QPalette::WindowText), QColor(192, 192, 192));
}

} // namespace
} // namespace tavlon::gui_test
