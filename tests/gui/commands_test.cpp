// The window's own commands and the files the game writes through the dialogs.
#include "fixture.h"

#include "ui/displaymode.h"
#include "ui/keyrouter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

using CommandsTest = WindowTest;

TEST_F(CommandsTest, F2WritesTheBoardPictureNamedByThePly) {
    Key(Qt::Key_F2); // before any game: ply 0 and the intro picture
    const QImage intro(Path(u"0.bmp"_s));
    ASSERT_FALSE(intro.isNull());
    EXPECT_EQ(intro.convertToFormat(QImage::Format_RGB32), ui().img->Picture());
    StartGame();
    Key(Qt::Key_F2);
    const QImage board(Path(u"1.bmp"_s));
    ASSERT_FALSE(board.isNull());
    EXPECT_EQ(board.pixel(20, 20), FigureColor(25));
    EXPECT_FALSE(QFile::exists(Path(u"Figures/1.bmp"_s)));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(CommandsTest, F2ReportsAFileItCannotWrite) {
    ASSERT_TRUE(QDir(dir->path()).mkdir(u"0.bmp"_s)); // a folder stands in the way
    Key(Qt::Key_F2);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.front().contains(u"0.bmp"_s));
}

TEST_F(CommandsTest, F11CyclesTheNineModesAndNamesThemOnTheBoard) {
    const QStringList expected = {u"1600x900"_s, u"1440x900"_s, u"1360x768"_s, u"1280x800"_s,
                                  u"1280x768"_s, u"1280x720"_s, u"1152x864"_s, u"1024x768"_s,
                                  u"800x600"_s,  u"1600x900"_s};
    const QPoint placed = window->pos();
    for (const QString& mode : expected) {
        Key(Qt::Key_F11);
        EXPECT_EQ(ui().img->Hint(), mode);
        EXPECT_TRUE(ui().img->HintEnabled());
        EXPECT_EQ(window->pos(), placed); // no mode switched here: nothing else changes
    }
    Click(10, 10); // a release on the board switches the tooltip off
    EXPECT_FALSE(ui().img->HintEnabled());
}

TEST_F(CommandsTest, F11KeepsTheWindowOnTheSwitchedScreen) {
    struct Switcher final : ui::ScreenSwitcher {
        std::optional<QRect> Request(QSize size) override { return QRect(QPoint(0, 0), size); }
    };
    window->SetScreenSwitcher(std::make_unique<Switcher>());
    window->move(1500, 850);
    for (int i = 0; i < 9; ++i) // down to 800 x 600
        Key(Qt::Key_F11);
    // The screen's 800 x 600 pixels in the window's units; at 200 % the window is larger
    // and keeps its top-left corner on the screen.
    const double scale = window->devicePixelRatioF();
    const QRect screen(0, 0, static_cast<int>(800 / scale), static_cast<int>(600 / scale));
    const QRect frame = window->frameGeometry();
    if (frame.height() > screen.height()) {
        EXPECT_EQ(frame.topLeft(), screen.topLeft());
    } else {
        EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y();
        EXPECT_EQ(frame.bottomRight(), screen.bottomRight()); // moved no further than needed
    }
    EXPECT_EQ(ui::KeptWithin(QRect(-50, 100, 2000, 50), QRect(0, 0, 800, 600)), QPoint(0, 100));
}

// The real save dialog, driven as a player would: "g1" typed while Saves/g1.tvl exists.
TEST_F(CommandsTest, SaveDialogAsksBeforeReplacingAGameNamedWithoutItsExtension) {
    QFile old(Path(u"Saves/g1.tvl"_s));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    ui::QtDialogs real(window.get());
    QStringList asked;
    int ticks = 0;
    bool typed = false;
    QTimer driver;
    driver.setInterval(20);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            asked << box->text();
            QMetaObject::invokeMethod(
                box, [box] { box->button(QMessageBox::No)->click(); }, Qt::QueuedConnection);
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            // Accepting from the event loop, not from this timer: the question it asks
            // runs a loop of its own in which this timer must fire again.
            if (!typed && ++ticks > 2) {
                typed = true;
                dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(u"g1"_s);
                QMetaObject::invokeMethod(
                    dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); },
                    Qt::QueuedConnection);
            } else if (typed || ticks > 200) {
                dialog->reject();
            }
        }
    });
    driver.start();
    const auto chosen = real.ChooseSaveFile(u"Сохранение игры"_s, Path(u"Saves"_s));
    driver.stop();
    EXPECT_FALSE(chosen.has_value());
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked.front().contains(u"g1.tvl"_s)) << asked.front().toStdString();
}

TEST_F(CommandsTest, AboutAndHelp) {
    window->menu().mmAvtor->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.front(),
              u"Tavlon 1.0 — разработчики Tavlon, 2026\nСвязь: страница проекта, см. README"_s);
    Key(Qt::Key_F1); // no help file: said so, naming it
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages.back().contains(Path(u"HELP.HTM"_s)));
    EXPECT_TRUE(dialogs.documents.isEmpty());

    QFile help(Path(u"HELP.HTM"_s));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<html><body><h1>Rules of Tavlon</h1></body></html>");
    help.close();
    Key(Qt::Key_F1);
    ASSERT_EQ(dialogs.documents.size(), 1);
    EXPECT_EQ(dialogs.documents.front(), QUrl::fromLocalFile(Path(u"HELP.HTM"_s)));
    EXPECT_EQ(window->findChild<QTextBrowser*>(), nullptr);

    dialogs.browserStarts = false; // a machine without a browser: the game shows the page
    Key(Qt::Key_F1);
    const auto* browser = window->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_TRUE(browser->toPlainText().contains(u"Rules of Tavlon"_s));
    EXPECT_EQ(dialogs.messages.size(), 2);
}

TEST_F(CommandsTest, StatusBarOffersItsTextAsTooltip) {
    QTest::mouseMove(ui().eInput, QPoint(5, 5));
    const QString text = Status();
    ASSERT_EQ(text, u"Ввод хода при помощи клавиатуры. Например, d2d4 или D2D4"_s);
    QTest::mouseMove(ui().statusPanel, QPoint(10, 5));
    EXPECT_EQ(ui().statusPanel->toolTip(), text);
}

TEST_F(CommandsTest, SavedGameOpensAgainThroughTheDialogs) {
    StartGame();
    ClickSquare(4, 7);
    ClickSquare(4, 5);
    const TBoard played = state().Board();
    dialogs.saveAnswers.append(Path(u"Saves/first.tvl"_s));
    Key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(QFile::exists(Path(u"Saves/first.tvl"_s)));
    EXPECT_EQ(dialogs.saveTitles, QStringList({u"Сохранение игры"_s}));

    Key(Qt::Key_N, Qt::ControlModifier); // a fresh game; the question is answered "No"
    ASSERT_EQ(state().CurrentPly, 1);
    dialogs.openAnswers.append(Path(u"Saves/first.tvl"_s));
    Key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(state().CurrentPly, 2);
    EXPECT_EQ(state().SideToMove, 2);
    EXPECT_EQ(state().Board(), played);
    EXPECT_EQ(BoardPixel(140, 180), FigureColor(14));
    EXPECT_EQ(ListLines().last(), u"1. D2D4"_s);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(KeyMapping, QtKeysBecomeTheGameKeys) {
    struct Row {
        const char* name;
        int qtKey;
        Key key;
    };
    const Row rows[] = {
        {"0", Qt::Key_0, Key::Digit0},
        {"4", Qt::Key_4, Key::Digit4},
        {"5", Qt::Key_5, Key::Other},
        {"space", Qt::Key_Space, Key::Space},
        {"backspace", Qt::Key_Backspace, Key::Backspace},
        {"home", Qt::Key_Home, Key::Home},
        {"end", Qt::Key_End, Key::End},
        {"return", Qt::Key_Return, Key::Enter},
        {"enter", Qt::Key_Enter, Key::Enter},
        {"A", Qt::Key_A, Key::Letter},
        {"Z", Qt::Key_Z, Key::Letter},
        {"F2", Qt::Key_F2, Key::Other},
        {"Cyrillic Я", 0x42F, Key::Other},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ui::MapKey(row.qtKey), row.key) << row.name;
}

TEST(DisplayModeCycle, NextWrapsAfterTheNinthMode) {
    struct Recorder final : ui::ScreenSwitcher {
        std::optional<QRect> Request(QSize size) override {
            requested.push_back(size);
            return std::nullopt;
        }
        std::vector<QSize> requested;
    };
    auto recorder = std::make_unique<Recorder>();
    Recorder* seen = recorder.get();
    ui::DisplayModes modes(std::move(recorder));
    EXPECT_EQ(modes.Index(), 0);
    for (int i = 0; i < 10; ++i)
        modes.Next();
    EXPECT_EQ(modes.Index(), 1);
    ASSERT_EQ(seen->requested.size(), 10u);
    EXPECT_EQ(seen->requested[8], QSize(800, 600));
    EXPECT_EQ(seen->requested[9], QSize(1600, 900));
}

} // namespace
} // namespace tavlon::gui_test
