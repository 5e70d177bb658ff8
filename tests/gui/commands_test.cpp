// The window's own commands and the files the game writes through the dialogs.
#include "fixture.h"

#include "ui/displaymode.h"
#include "ui/keyrouter.h"

#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QTest>
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
    for (const QString& mode : expected) {
        Key(Qt::Key_F11);
        EXPECT_EQ(ui().img->Hint(), mode);
        EXPECT_TRUE(ui().img->HintEnabled());
    }
    Click(10, 10); // a release on the board switches the tooltip off
    EXPECT_FALSE(ui().img->HintEnabled());
}

TEST_F(CommandsTest, AboutAndHelp) {
    window->menu().mmAvtor->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.front(),
              u"Tavlon 1.0 — разработчики Tavlon, 2026\nСвязь: страница проекта, см. README"_s);
    Key(Qt::Key_F1);
    ASSERT_EQ(dialogs.documents.size(), 1);
    EXPECT_EQ(dialogs.documents.front(), QUrl::fromLocalFile(Path(u"HELP.HTM"_s)));
    EXPECT_EQ(dialogs.messages.size(), 1);
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
        void Request(QSize size) override { requested.push_back(size); }
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
