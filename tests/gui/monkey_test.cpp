// A seeded random player drives the real window through window-level events only: clicks,
// drags and right clicks on and off the board, keys, typed moves, menu commands, list
// clicks, the rules-off box, the setup editor, promotions, Save and Open through the fake
// dialogs. After every event the game must be sound; every so often, once the autosave is
// written, it must be one whole snapshot. A failure names its seed: TAVLON_SEED replays it,
// TAVLON_MONKEY_EVENTS runs longer (the short run is for every test run).
#include "fixture.h"

#include "model/codes.h"
#include "storage/records.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

int EnvNumber(const char* name, int fallback) {
    bool given = false;
    const int value = qEnvironmentVariableIntValue(name, &given);
    return given ? value : fallback;
}

class MonkeyTest : public WindowTest {
  protected:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    QPoint AnySquare() { return SquareMiddle(1 + Pick(8), 1 + Pick(8)); }
    // Anywhere on the board image or a little beyond its edges.
    QPoint AnyPoint() { return {Pick(360) - 20, Pick(360) - 20}; }

    void Drag() {
        QWidget* board = ui().img;
        const QPoint from = AnySquare();
        const QPoint to = Pick(4) == 0 ? AnyPoint() : AnySquare();
        QTest::mouseMove(board, from);
        QTest::mousePress(board, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(board, (from + to) / 2);
        QTest::mouseMove(board, to);
        QTest::mouseRelease(board, Qt::LeftButton, Qt::NoModifier, to);
    }

    void TypeMove() {
        QString text;
        for (int i = 0; i < 2; ++i)
            text += QChar(u'a' + Pick(8)) + QString::number(1 + Pick(8));
        ui().eInput->setFocus();
        Type(text);
        if (Pick(2) == 0)
            Key(Qt::Key_Return);
        else if (ui().bbPlay->isEnabled())
            ui().bbPlay->click();
    }

    void PressKey() {
        static constexpr int kKeys[] = {
            Qt::Key_F4, Qt::Key_1,     Qt::Key_2,         Qt::Key_3,      Qt::Key_4,
            Qt::Key_0,  Qt::Key_Space, Qt::Key_Backspace, Qt::Key_Home,   Qt::Key_End,
            Qt::Key_Up, Qt::Key_Down,  Qt::Key_Return,    Qt::Key_Escape, Qt::Key_F2};
        if (Pick(4) == 0)
            Key(Qt::Key_Z, Qt::ControlModifier);
        else
            Key(kKeys[Pick(static_cast<int>(std::size(kKeys)))]);
    }

    void Command() {
        const ui::MenuActions& m = window->menu();
        switch (Pick(9)) {
        case 0:
            m.mmNew->trigger();
            break;
        case 1:
            m.mmUndo->trigger();
            break;
        case 2:
            m.mmForward->trigger();
            break;
        case 3:
            m.mmViewRun->trigger();
            break;
        case 4:
            m.mmSetupPosition->trigger();
            break;
        case 5: // saved under one of a few names, so that Open finds them
            dialogs.saveAnswers << Path(u"Saves/m%1.tvl"_s.arg(Pick(3)));
            m.mmSave->trigger();
            break;
        case 6:
            dialogs.openAnswers << Path(u"Saves/m%1.tvl"_s.arg(Pick(4)));
            m.mmOpen->trigger();
            break;
        case 7:
            dialogs.openAnswers << QString(); // cancelled
            m.mmOpenPosition->trigger();
            break;
        default:
            m.mmOrder->trigger();
            break;
        }
        dialogs.saveAnswers.clear();
        dialogs.openAnswers.clear();
    }

    void Panel() {
        const ui::Controls& c = ui();
        switch (Pick(6)) {
        case 0:
            if (c.ListBox->count() > 0) {
                const int row = Pick(c.ListBox->count());
                const QRect cell = c.ListBox->visualItemRect(c.ListBox->item(row));
                QTest::mouseClick(c.ListBox->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  cell.center());
            }
            break;
        case 1:
            if (c.cbOrder->isVisible() && c.cbOrder->isEnabled())
                c.cbOrder->click(); // the rules-off box
            break;
        case 2:
            if (c.bStartPosition->isVisible() && c.bStartPosition->isEnabled())
                c.bStartPosition->click();
            break;
        case 3:
            if (c.cbShablon->isVisible() && c.cbShablon->count() > 0)
                c.cbShablon->setCurrentIndex(Pick(c.cbShablon->count()));
            break;
        case 4:
            if (c.cbFigures->isVisible())
                c.cbFigures->setCurrentIndex(Pick(c.cbFigures->count()));
            if (c.bInsertOk->isVisible() && c.bInsertOk->isEnabled())
                c.bInsertOk->click(); // a promotion
            break;
        default:
            if (c.bBackStep->isEnabled() && Pick(2) == 0)
                c.bBackStep->click();
            else if (c.bForward->isEnabled())
                c.bForward->click();
            break;
        }
    }

    void Event() {
        const int kind = Pick(20);
        if (kind < 8) {
            const QPoint at = AnySquare();
            Hover(at.x(), at.y());
            Click(at.x(), at.y());
        } else if (kind < 10) {
            Drag();
        } else if (kind == 10) {
            const QPoint at = Pick(2) == 0 ? AnyPoint() : AnySquare();
            Hover(at.x(), at.y());
            Click(at.x(), at.y(), Qt::RightButton);
        } else if (kind < 13) {
            PressKey();
        } else if (kind == 13) {
            TypeMove();
        } else if (kind < 16) {
            Command();
        } else {
            Panel();
        }
    }

    // The game's own invariants, as its consistency check states them.
    void ExpectSound() {
        const GameState& s = state();
        ASSERT_LE(s.CurrentPly, s.LastPly);
        ASSERT_LE(s.LastPly, kMaxPly);
        ASSERT_LE(input().ClickPhase, 2);
        ASSERT_GE(s.SideToMove, 1);
        ASSERT_LE(s.SideToMove, 4);
        for (std::uint16_t p = 0; p <= s.LastPly; ++p)
            for (const TPieceCode code : s.BoardHistory[p].cells)
                ASSERT_TRUE(IsValidCode(code)) << "ply " << p << " holds code " << int{code};
        // A pick's attack marks are the pick's own: the position in play never holds one.
        for (const TPieceCode code : s.Board().cells)
            ASSERT_NE(code, kAttackMark);
    }

    void ExpectWholeAutosave() {
        window->game().FinishAutosave();
        const std::filesystem::path autosave(window->game().AutosavePath());
        std::error_code ec;
        if (std::filesystem::exists(autosave, ec)) {
            ASSERT_EQ(std::filesystem::file_size(autosave, ec), kSnapshotRecordSize);
        }
    }

    std::mt19937 random;
};

TEST_F(MonkeyTest, RandomPlayKeepsTheGameSoundAndTheAutosaveWhole) {
    const unsigned seed = static_cast<unsigned>(
        EnvNumber("TAVLON_SEED", static_cast<int>(std::random_device()() & 0x7fffffff)));
    const int events = EnvNumber("TAVLON_MONKEY_EVENTS", 3000);
    SCOPED_TRACE("TAVLON_SEED=" + std::to_string(seed));
    random.seed(seed);
    StartGame();
    int longest = 0; // the longest line seen, to show how far play went
    for (int i = 0; i < events; ++i) {
        Event();
        longest = std::max<int>(longest, state().LastPly);
        ASSERT_NO_FATAL_FAILURE(ExpectSound()) << "after event " << i;
        if (i % 200 == 199) {
            ASSERT_NO_FATAL_FAILURE(ExpectWholeAutosave()) << "after event " << i;
        }
    }
    ASSERT_NO_FATAL_FAILURE(ExpectWholeAutosave());
    std::printf("%d events, seed %u, longest line %d plies, %lld messages\n", events, seed, longest,
                static_cast<long long>(dialogs.messages.size()));
}

} // namespace
} // namespace tavlon::gui_test
