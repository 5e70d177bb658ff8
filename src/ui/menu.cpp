#include "ui/menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace tavlon::ui {
namespace {

QAction* Item(QMenu* menu, const QString& name, const QString& caption,
              const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

} // namespace

MenuActions BuildMenu(QMainWindow& window) {
    MenuActions m;
    QMenuBar* bar = window.menuBar();
    bar->setObjectName(u"mm"_s);

    QMenu* game = bar->addMenu(u"Игра"_s);
    game->setObjectName(u"mmGame"_s);
    m.mmNew = Item(game, u"mmNew"_s, u"Новая игра"_s, QKeySequence(Qt::CTRL | Qt::Key_N));
    m.mmOpen = Item(game, u"mmOpen"_s, u"Открыть"_s, QKeySequence(Qt::CTRL | Qt::Key_O));
    m.mmOpenPosition = Item(game, u"mmOpenPosition"_s, u"Открыть позицию"_s,
                            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O));
    m.mmSave = Item(game, u"mmSave"_s, u"Сохранить"_s, QKeySequence(Qt::CTRL | Qt::Key_S));
    m.mmSaveText = Item(game, u"mmSaveText"_s, u"Сохранить как текст…"_s);
    m.mmOpenText = Item(game, u"mmOpenText"_s, u"Открыть текст партии…"_s);
    m.mmSetupPosition = Item(game, u"mmSetupPosition"_s, u"Расстановка позиции"_s,
                             QKeySequence(Qt::CTRL | Qt::Key_I));
    // Qt ignores the shortcut of an invisible action, so F2 sits on an action of the window.
    m.mmSaveSkin = Item(game, u"mmSaveSkin"_s, u"Skin"_s);
    m.mmSaveSkin->setVisible(false);
    m.skinKey = new QAction(&window);
    m.skinKey->setObjectName(u"skinKey"_s);
    m.skinKey->setShortcut(QKeySequence(Qt::Key_F2));
    window.addAction(m.skinKey);
    QObject::connect(m.skinKey, &QAction::triggered, m.mmSaveSkin, &QAction::trigger);
    game->addSeparator();
    m.mmPlayers = Item(game, u"mmPlayers"_s, u"Игроки…"_s);
    m.mmHint = Item(game, u"mmHint"_s, u"Подсказка"_s, QKeySequence(Qt::CTRL | Qt::Key_H));
    m.mmPause = Item(game, u"mmPause"_s, u"Пауза"_s, QKeySequence(Qt::Key_Pause));
    m.mmPause->setCheckable(true);
#ifdef TAVLON_HAVE_NET
    m.mmNetGame = Item(game, u"mmNetGame"_s, u"Сетевая игра…"_s);
#endif
    game->addSeparator();
    m.mmExit = Item(game, u"mmExit"_s, u"Выход"_s);

    QMenu* edit = bar->addMenu(u"Правка"_s);
    edit->setObjectName(u"mmEdit"_s);
    m.mmUndo = Item(edit, u"mmUndo"_s, u"Отменить"_s, QKeySequence(Qt::CTRL | Qt::Key_Z));
    m.mmForward = Item(edit, u"mmForward"_s, u"Вернуть"_s, QKeySequence(Qt::Key_F4));
#ifdef TAVLON_HAVE_NET
    m.mmAskUndo = Item(edit, u"mmAskUndo"_s, u"Попросить отмену хода"_s);
    m.mmAskUndo->setVisible(false); // shown in a network game
#endif
    edit->addSeparator();
    m.mmCopyPosition = Item(edit, u"mmCopyPosition"_s, u"Копировать позицию"_s,
                            QKeySequence(Qt::CTRL | Qt::Key_C));
    m.mmPastePosition =
        Item(edit, u"mmPastePosition"_s, u"Вставить позицию"_s, QKeySequence(Qt::CTRL | Qt::Key_V));

    QMenu* view = bar->addMenu(u"Вид"_s);
    view->setObjectName(u"mmView"_s);
    m.mmView = view;
    m.mmBigSize = Item(view, u"mmBigSize"_s, u"Увеличить масштаб"_s, QKeySequence(Qt::Key_F11));
    m.mmViewRun = Item(view, u"mmViewRun"_s, u"Показывать ходы фигуры"_s);
    m.mmViewRun->setCheckable(true);
    m.mmViewRun->setChecked(true);
    m.mmViewScore = Item(view, u"mmViewScore"_s, u"Показывать счёт"_s);
    m.mmViewScore->setCheckable(true);
    // Placed at the end of the menu by the window, after the view items added there.
    m.mmSound = new QAction(u"Звук"_s, &window);
    m.mmSound->setObjectName(u"mmSound"_s);
    m.mmSound->setCheckable(true);

    QMenu* help = bar->addMenu(u"Помощь"_s);
    help->setObjectName(u"mmHelp"_s);
    m.mmOrder = Item(help, u"mmOrder"_s, u"Правила игры"_s, QKeySequence(Qt::Key_F1));
    m.mmAvtor = Item(help, u"mmAvtor"_s, u"Об авторе"_s);
    return m;
}

QList<QAction*> MenuActions::WithShortcuts() const {
    return {mmNew,   mmOpen, mmOpenPosition, mmSave,         mmSetupPosition, mmHint,    mmPause,
            skinKey, mmUndo, mmForward,      mmCopyPosition, mmPastePosition, mmBigSize, mmOrder};
}

} // namespace tavlon::ui
