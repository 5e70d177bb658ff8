// The main menu: four menus of commands with their shortcuts.
#pragma once

#include <QList>

class QAction;
class QKeySequence;
class QMainWindow;
class QMenu;

namespace tavlon::ui {

struct MenuActions {
    QAction* mmNew = nullptr;
    QAction* mmOpen = nullptr;
    QAction* mmOpenPosition = nullptr;
    QAction* mmSave = nullptr;
    QAction* mmSaveText = nullptr;
    QAction* mmOpenText = nullptr;
    QAction* mmSetupPosition = nullptr;
    QAction* mmSaveSkin = nullptr; // hidden item; its F2 lives on `skinKey`
    QAction* skinKey = nullptr;    // window-level action carrying F2
    QAction* mmExit = nullptr;
    QAction* mmPlayers = nullptr; // "Игроки…": people or the computer at each colour
    QAction* mmHint = nullptr;  // "Подсказка": the computer's move for the person to move
    QAction* mmPause = nullptr; // "Пауза": the computers wait (checkable)
    // "Сетевая игра…" and "Попросить отмену хода"; null where the program is built without
    // the network game.
    QAction* mmNetGame = nullptr;
    QAction* mmAskUndo = nullptr;
    QAction* mmUndo = nullptr;
    QAction* mmForward = nullptr;
    QAction* mmCopyPosition = nullptr;
    QAction* mmPastePosition = nullptr;
    QAction* mmBigSize = nullptr;
    QAction* mmViewRun = nullptr;
    QAction* mmViewScore = nullptr; // "Показывать счёт" (checkable, off at first)
    QAction* mmSound = nullptr;     // check item, off until switched on
    QAction* mmOrder = nullptr;
    QAction* mmAvtor = nullptr;
    QMenu* mmView = nullptr;

    // Every action that carries a shortcut, to let the shortcut win over a focused control.
    QList<QAction*> WithShortcuts() const;
};

// Fills the menu bar of `window`.
MenuActions BuildMenu(QMainWindow& window);

} // namespace tavlon::ui
