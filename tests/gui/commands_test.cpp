// The window's own commands and the files the game writes through the dialogs.
#include "fixture.h"

#include "ui/commandline.h"
#include "ui/displaymode.h"
#include "ui/helpwindow.h"
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
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

using CommandsTest = WindowTest;

// The command line speaks Russian, as the window does: the only Latin words of what it
// prints are the program's and the options' names.
TEST(CommandLine, SpeaksRussianAndKeepsTheDataFolder) {
    struct Row {
        std::vector<const char*> args;
        std::optional<int> exitCode;
        const char* says; // a part of the output
    };
    const Row rows[] = {
        {{"--help"}, 0, "--data-dir <папка>"},
        {{"-v"}, 0, "tavlon 1.0"},
        {{"--bogus"}, 2, "Неизвестный параметр: --bogus"},
        {{"-x"}, 2, "Неизвестный параметр: -x"},
        {{"--data-dir"}, 2, "Не указана папка"},
        {{"game", "extra"}, 2, "Лишний аргумент: extra"},
        {{"--data-dir", "/tmp/игры"}, std::nullopt, ""},
    };
    const QRegularExpression latin(u"[A-Za-z]+"_s);
    const QStringList names = {u"tavlon"_s, u"Tavlon"_s,  u"h"_s,     u"help"_s,
                               u"v"_s,      u"version"_s, u"data"_s,  u"dir"_s,
                               u"bogus"_s,  u"x"_s,       u"extra"_s, u"game"_s};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.front());
        std::vector<char*> argv{const_cast<char*>("tavlon")};
        for (const char* arg : row.args)
            argv.push_back(const_cast<char*>(arg));
        const ui::CommandLineOutcome outcome =
            ui::ReadCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(outcome.exitCode, row.exitCode);
        EXPECT_TRUE(outcome.output.contains(QString::fromUtf8(row.says)))
            << outcome.output.toStdString();
        for (const auto& word : latin.globalMatch(outcome.output))
            EXPECT_TRUE(names.contains(word.captured())) << word.captured().toStdString();
    }
    char* argv[] = {const_cast<char*>("tavlon"), const_cast<char*>("--data-dir=/tmp/x")};
    EXPECT_EQ(ui::ReadCommandLine(2, argv).options.dataDir, "/tmp/x");
    // The file to open keeps its bytes and is told apart from the options' values.
    char* withFile[] = {const_cast<char*>("tavlon"),    const_cast<char*>("--data-dir"),
                        const_cast<char*>("/tmp/x"),    const_cast<char*>("-platform"),
                        const_cast<char*>("offscreen"), const_cast<char*>("игра\xff.tvl")};
    const ui::CommandLineOutcome opened = ui::ReadCommandLine(6, withFile);
    EXPECT_FALSE(opened.exitCode);
    EXPECT_EQ(opened.options.file, "игра\xff.tvl");
}

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

// The real Yes/No box: only a click on "Нет" answers No; Escape and its close button answer
// nothing, so the kept game is not lost to a closed question.
TEST_F(CommandsTest, YesNoBoxTellsNoFromAQuestionClosedUnanswered) {
    struct Row {
        const char* name;
        void (*act)(QMessageBox&);
        Answer expected;
    };
    const Row rows[] = {
        {"Нет", [](QMessageBox& b) { b.button(QMessageBox::No)->click(); }, Answer::No},
        {"Да", [](QMessageBox& b) { b.button(QMessageBox::Yes)->click(); }, Answer::Yes},
        {"Escape", [](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Escape); }, Answer::Cancel},
        {"closed", [](QMessageBox& b) { b.close(); }, Answer::Cancel},
    };
    ui::QtDialogs real(window.get());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTimer driver;
        driver.setInterval(10);
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                driver.stop();
                row.act(*box);
            }
        });
        driver.start();
        EXPECT_EQ(real.AskYesNo(u"Продолжить прошлую партию?"_s), row.expected);
    }
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
    EXPECT_EQ(window->findChild<ui::HelpWindow*>(), nullptr);

    // Always the game's own window, whatever the desktop would open the file with.
    QFile help(Path(u"HELP.HTM"_s));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<html><body><p><a href=\"#keys\">Клавиши</a></p><p>Ход белых.</p>"
               "<p style=\"margin-top: 2000px\" id=\"keys\">F1 — правила; ход назад.</p>"
               "</body></html>");
    help.close();
    Key(Qt::Key_F1);
    auto* page = window->findChild<ui::HelpWindow*>();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isVisible());
    QTextBrowser* browser = page->Browser();
    EXPECT_TRUE(browser->toPlainText().contains(u"F1 — правила"_s));
    EXPECT_EQ(dialogs.messages.size(), 2);

    // Finding goes from place to place and round the end; a missing text is no find.
    page->FindField()->setText(u"ход"_s);
    ASSERT_TRUE(page->FindNext());
    const int first = browser->textCursor().selectionStart();
    ASSERT_TRUE(page->FindNext());
    const int second = browser->textCursor().selectionStart();
    EXPECT_GT(second, first);
    ASSERT_TRUE(page->FindNext());
    EXPECT_EQ(browser->textCursor().selectionStart(), first);
    page->FindField()->setText(u"ферзь"_s);
    EXPECT_FALSE(page->FindNext());

    // An anchor link scrolls the page, in the same window.
    const int top = browser->verticalScrollBar()->value();
    browser->setSource(QUrl(u"#keys"_s));
    EXPECT_GT(browser->verticalScrollBar()->value(), top);
}

TEST_F(CommandsTest, StatusBarOffersItsTextAsTooltip) {
    QTest::mouseMove(ui().eInput, QPoint(5, 5));
    const QString text = Status();
    ASSERT_EQ(text, u"Ввод хода при помощи клавиатуры. Например, d2d4 или D2D4"_s);
    QTest::mouseMove(ui().statusPanel, QPoint(10, 5));
    EXPECT_EQ(ui().statusPanel->toolTip(), text);
}

// The panel spans the bar, so every text the game puts there shows whole; a longer one ends
// in "…" and the tooltip still holds all of it.
TEST_F(CommandsTest, StatusPanelShowsEveryStatusTextWhole) {
    const std::string_view texts[] = {
        texts::kPickHint,     texts::kOwnOrKing,       texts::kMoveImpossible,
        texts::kMovePossible, texts::kOpponentPiece,   texts::kTypeHint,
        texts::kRulesOff,     texts::kAttackedSquare,  texts::kSetupStart,
        texts::kFigureChoice, texts::kSetupIncomplete, "Мат королю коричневых"};
    const ui::StatusPanel& panel = *ui().statusPanel;
    EXPECT_GE(panel.width(), window->statusBar()->width() - 12);
    for (const std::string_view text : texts) {
        SCOPED_TRACE(text);
        window->SetStatusText(text);
        EXPECT_EQ(panel.text(), QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    const QString overlong = QString::fromUtf8(texts::kOwnOrKing.data()).repeated(2);
    window->SetStatusText(overlong.toStdString());
    EXPECT_TRUE(panel.text().endsWith(u'…')) << panel.text().toStdString();
    EXPECT_LT(panel.text().size(), overlong.size());
    EXPECT_EQ(panel.toolTip(), overlong);
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
