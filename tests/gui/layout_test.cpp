// The window's controls at their places, with their captions and first states.
#include "fixture.h"
#include "ui/appsetup.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace tavlon::gui_test {
namespace {

struct Placement {
    const char* name;
    QRect geometry; // relative to the parent
    const char* caption;
};

QString CaptionOf(const QWidget* w) {
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (auto* group = qobject_cast<const QGroupBox*>(w))
        return group->title();
    return {};
}

const Placement kPlacements[] = {
    {"plInterface", {2, -1, 401, 94}, ""},
    {"plDesk", {2, 93, 401, 380}, ""},
    {"plListMoves", {402, 0, 94, 473}, ""},
    {"plChoiceFigure", {154, 243, 94, 67}, ""},
    {"ImageText", {17, 8, 359, 363}, ""},
    {"Bevel6", {33, 27, 326, 325}, ""},
    {"img", {36, 30, 320, 320}, ""},
    {"gbNavigation", {4, 9, 67, 66}, ""},
    {"gbOrder", {72, 4, 258, 75}, "Последовательность игроков"},
    {"GroupBox1", {331, 4, 67, 71}, "Нотация"},
    {"cbOrder", {15, 75, 346, 17}, "Игнорировать шахматные правила при передвижении фигур"},
    {"sbNew", {6, 7, 24, 24}, ""},
    {"sbOpen", {37, 7, 24, 24}, ""},
    {"sbSave", {8, 36, 24, 24}, ""},
    {"sbSetupPosition", {37, 36, 24, 24}, ""},
    {"Image1", {9, 26, 40, 40}, ""},
    {"Image4", {129, 26, 40, 40}, ""},
    {"lCheck1", {13, 12, 31, 13}, "ШАХ!"},
    {"lCheck2", {54, 12, 31, 13}, "ШАХ!"},
    {"lCheck3", {94, 12, 31, 13}, "ШАХ!"},
    {"lCheck4", {134, 12, 31, 13}, "ШАХ!"},
    {"bBackStep", {174, 26, 75, 19}, "Оменить"},
    {"bForward", {174, 47, 75, 19}, "Вернуть"},
    {"eInput", {9, 16, 50, 21}, ""},
    {"bbPlay", {9, 37, 50, 19}, "Ок"},
    {"gbStepsList", {10, 4, 76, 459}, "Ходы"},
    {"ListBox", {2, 15, 72, 442}, ""},
    {"GroupBox3", {13, 7, 166, 60}, "Позиции"},
    {"gbSetupPosition", {185, 7, 72, 60}, "Фигура"},
    {"GroupBox2", {263, 7, 131, 60}, ""},
    {"bStartPosition", {269, 40, 117, 21}, "Начать игру"},
    {"cbShablon", {11, 24, 145, 21}, ""},
    {"bFocus", {16, 26, 22, 18}, ""},
    {"ImgSelectFigure", {7, 18, 40, 40}, ""},
    {"UpDown", {49, 17, 20, 43}, ""},
    {"cbSaveAs", {8, 8, 115, 21}, ""},
    {"gbChoiceFigure", {5, 0, 84, 62}, "Замена пешки"},
    {"cbFigures", {8, 18, 63, 21}, ""},
    {"bInsertOk", {8, 40, 63, 19}, "Ok"},
    {"sgM", {527, 85, 234, 236}, ""},
    {"Label1", {591, 8, 31, 13}, "Label1"},
    {"flb", {591, 50, 78, 29}, ""},
};

using LayoutTest = WindowTest;

TEST_F(LayoutTest, EveryControlStandsAtItsPlaceWithItsCaption) {
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.name);
        const auto* w = window->findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), p.geometry);
        EXPECT_EQ(CaptionOf(w), QString::fromUtf8(p.caption));
    }
}

TEST_F(LayoutTest, ClientAreaShowsThePanelsAndNothingBeyondTheRightEdge) {
    EXPECT_EQ(ui().central->size(), QSize(497, 473));
    EXPECT_EQ(window->statusBar()->height(), 19);
    EXPECT_EQ(window->width(), 497);
    EXPECT_EQ(window->height(), window->menuBar()->height() + 473 + 19);
    EXPECT_EQ(ui().central->pos(), QPoint(0, window->menuBar()->height()));
    const QStringList outOfSight = {u"sgM"_s, u"Label1"_s, u"flb"_s};
    const auto beyondTheEdge = [&](const QWidget* w) {
        for (; w && w != ui().central; w = w->parentWidget())
            if (outOfSight.contains(w->objectName()))
                return true;
        return false;
    };
    for (QWidget* w : ui().central->findChildren<QWidget*>()) {
        const QRect r(w->mapTo(ui().central, QPoint(0, 0)), w->size());
        if (beyondTheEdge(w)) {
            EXPECT_GE(r.left(), 505) << w->objectName().toStdString();
        } else if (w->isVisible()) {
            EXPECT_LT(r.right(), 497) << w->objectName().toStdString();
        }
    }
}

TEST_F(LayoutTest, FontsResolveToTheirFacesAndCaptionsFitTheirControls) {
    const QFontInfo tahoma(window->font());
    EXPECT_EQ(tahoma.family(), u"Tahoma"_s);
    EXPECT_EQ(tahoma.pixelSize(), 11);
    const QString serif = QFontInfo(ui().lCheck[0]->font()).family();
    EXPECT_TRUE(serif == u"Times New Roman"_s || serif == u"Liberation Serif"_s)
        << serif.toStdString();
    // Room the style takes besides the text: a button's edges, a check box's indicator.
    const int checkIndicator = 20;
    for (const Placement& p : kPlacements) {
        const auto* w = window->findChild<QWidget*>(QString::fromLatin1(p.name));
        const QString caption = CaptionOf(w);
        if (caption.isEmpty() || p.geometry.left() >= 505) // nobody reads what is out of sight
            continue;
        const int extra = qobject_cast<const QCheckBox*>(w)         ? checkIndicator
                          : qobject_cast<const QAbstractButton*>(w) ? 4
                          : qobject_cast<const QGroupBox*>(w)       ? 12
                                                                    : 0;
        // Labels start their text at their left edge, so their ink is what must fit.
        const int needed = qobject_cast<const QLabel*>(w)
                               ? w->fontMetrics().tightBoundingRect(caption).right() + 1
                               : w->fontMetrics().horizontalAdvance(caption) + extra;
        EXPECT_LE(needed, w->width()) << p.name;
    }
}

TEST_F(LayoutTest, ControlsStartInTheirFirstStates) {
    EXPECT_FALSE(ui().bBackStep->isEnabled());
    EXPECT_FALSE(ui().bForward->isEnabled());
    EXPECT_FALSE(ui().bbPlay->isEnabled());
    EXPECT_FALSE(ui().cbOrder->isChecked());
    EXPECT_FALSE(ui().plSetupPosition->isVisible());
    EXPECT_FALSE(ui().plSetupPosition->isEnabled());
    EXPECT_FALSE(ui().plChoiceFigure->isVisible());
    EXPECT_FALSE(ui().cbSaveAs->isEnabled());
    EXPECT_FALSE(ui().UpDown->isEnabled());
    EXPECT_TRUE(ui().eInput->text().isEmpty());
    EXPECT_EQ(ui().ListBox->count(), 0);
    EXPECT_TRUE(Status().isEmpty());
    const QStringList saveAs = {u"Сохранить как..."_s, u"Сохранить как позицию"_s,
                                u"Сохранить как игру"_s};
    const QStringList figures = {u"Слон"_s, u"Конь"_s, u"Ладья"_s};
    QStringList items;
    for (int i = 0; i < ui().cbSaveAs->count(); ++i)
        items << ui().cbSaveAs->itemText(i);
    EXPECT_EQ(items, saveAs);
    EXPECT_EQ(ui().cbSaveAs->currentIndex(), 0);
    items.clear();
    for (int i = 0; i < ui().cbFigures->count(); ++i)
        items << ui().cbFigures->itemText(i);
    EXPECT_EQ(items, figures);
    EXPECT_EQ(ui().cbFigures->currentIndex(), 0);
    EXPECT_EQ(window->windowTitle(), u"Tavlon 1.0"_s);
}

TEST_F(LayoutTest, PointersTooltipsAndFontsOfTheControls) {
    struct Row {
        const char* name;
        Qt::CursorShape cursor;
        const char* tooltip;
    };
    const Row rows[] = {
        {"sbNew", Qt::PointingHandCursor, "Новая игра"},
        {"sbOpen", Qt::ArrowCursor, "Открыть игру"},
        {"sbSave", Qt::ArrowCursor, "Сохранить игру"},
        {"sbSetupPosition", Qt::PointingHandCursor, "Расстановка позиции"},
        {"lCheck1", Qt::UpArrowCursor, ""},
        {"lCheck4", Qt::UpArrowCursor, ""},
        {"bBackStep", Qt::PointingHandCursor, ""},
        {"bForward", Qt::ArrowCursor, ""},
        {"bbPlay", Qt::PointingHandCursor, ""},
        {"bStartPosition", Qt::PointingHandCursor, ""},
        {"bInsertOk", Qt::PointingHandCursor, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto* w = window->findChild<QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->cursor().shape(), row.cursor);
        EXPECT_EQ(w->toolTip(), QString::fromUtf8(row.tooltip));
        EXPECT_EQ(w->toolTipDuration(), 5000);
    }
    const QFont check = ui().lCheck[0]->font();
    EXPECT_EQ(check.family(), tavlon::ui::SerifFamily());
    EXPECT_TRUE(check.bold());
    EXPECT_EQ(check.pixelSize(), 11);
    EXPECT_EQ(ui().lCheck[0]->palette().color(QPalette::WindowText), QColor(192, 192, 192));
    EXPECT_TRUE(ui().ListBox->font().bold());
    EXPECT_EQ(ui().ListBox->font().family(), u"Tahoma"_s);
}

TEST_F(LayoutTest, MenuItemsCaptionsAndShortcuts) {
    struct Row {
        QAction* action;
        const char* caption;
        QKeySequence shortcut;
    };
    const ui::MenuActions& m = window->menu();
    const Row rows[] = {
        {m.mmNew, "Новая игра", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {m.mmOpen, "Открыть", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {m.mmOpenPosition, "Открыть позицию", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O)},
        {m.mmSave, "Сохранить", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {m.mmSaveText, "Сохранить как текст…", QKeySequence()},
        {m.mmOpenText, "Открыть текст партии…", QKeySequence()},
        {m.mmSetupPosition, "Расстановка позиции", QKeySequence(Qt::CTRL | Qt::Key_I)},
        {m.mmExit, "Выход", QKeySequence()},
        {m.mmUndo, "Отменить", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {m.mmForward, "Вернуть", QKeySequence(Qt::Key_F4)},
        {m.mmCopyPosition, "Копировать позицию", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {m.mmPastePosition, "Вставить позицию", QKeySequence(Qt::CTRL | Qt::Key_V)},
        {m.mmBigSize, "Увеличить масштаб", QKeySequence(Qt::Key_F11)},
        {m.mmViewRun, "Показывать ходы фигуры", QKeySequence()},
        {m.mmSound, "Звук", QKeySequence()},
        {m.mmOrder, "Правила игры", QKeySequence(Qt::Key_F1)},
        {m.mmAvtor, "Об авторе", QKeySequence()},
        {m.skinKey, "", QKeySequence(Qt::Key_F2)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        EXPECT_EQ(row.action->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(row.action->shortcut(), row.shortcut);
    }
    EXPECT_FALSE(m.mmSaveSkin->isVisible());
    EXPECT_TRUE(m.mmViewRun->isCheckable());
    EXPECT_TRUE(m.mmViewRun->isChecked());
    QStringList menus;
    for (QAction* top : window->menuBar()->actions())
        menus << top->text();
    EXPECT_EQ(menus, QStringList({u"Игра"_s, u"Правка"_s, u"Вид"_s, u"Помощь"_s}));
}

} // namespace
} // namespace tavlon::gui_test
