// The window's part of sharing and sounds: the position keys win over the move box, the
// clipboard carries the position, and sounds switched on play on a platform without any
// sound device without an error or a wait.
#include "fixture.h"
#include "model/positiontext.h"
#include "ui/sounds.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

using ShareTest = WindowTest;

TEST_F(ShareTest, PositionKeysWinOverTheMoveBox) {
    StartGame();
    const std::string start = PositionText(state().Current());
    ui().eInput->setFocus();
    ui().eInput->insert(u"d2"_s);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), start);
    ClickSquare(4, 7);
    ClickSquare(4, 5);
    ASSERT_EQ(state().CurrentPly, 2);

    ui().eInput->setFocus();
    QGuiApplication::clipboard()->setText(u"not a position"_s);
    Key(Qt::Key_V, Qt::ControlModifier); // refused: nothing changes, nothing is asked
    EXPECT_EQ(state().CurrentPly, 2);
    EXPECT_TRUE(dialogs.questions.isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.front().startsWith(u"Вставить позицию не удалось."_s));

    QGuiApplication::clipboard()->setText(QString::fromStdString(start));
    Key(Qt::Key_V, Qt::ControlModifier); // asked to save first ("No"), then installed
    EXPECT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(state().CurrentPly, 1);
    EXPECT_EQ(PositionText(state().Current()), start);
    EXPECT_TRUE(ListLines().isEmpty());
    EXPECT_EQ(ui().eInput->text(), u"d2"_s);
}

TEST_F(ShareTest, SoundsPlayWithoutASoundDevice) {
    QAction* sound = window->menu().mmSound;
    EXPECT_FALSE(sound->isChecked());
    EXPECT_FALSE(window->sounds().Enabled());
    sound->trigger();
    EXPECT_TRUE(window->sounds().Enabled());
    // The module that plays them comes with the program.
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->sounds().Loaded(); }));
    StartGame();
    // A move, a capture and a check: White's pawn takes nothing, then a typed capture.
    ClickSquare(4, 7);
    ClickSquare(4, 5);
    ui().eInput->setText(u"b6d4"_s);
    QTest::keyClick(ui().eInput, Qt::Key_Return);
    EXPECT_EQ(state().CurrentPly, 3);
    QTest::qWait(50); // the effects may report on the event loop: nothing comes of it
    sound->trigger();
    EXPECT_FALSE(window->sounds().Enabled());
    ClickSquare(2, 1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace
} // namespace tavlon::gui_test
