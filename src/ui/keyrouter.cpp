#include "ui/keyrouter.h"

#include "flow/layoutletters.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWheelEvent>

namespace tavlon::ui {

Key MapKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_0:
        return Key::Digit0;
    case Qt::Key_1:
        return Key::Digit1;
    case Qt::Key_2:
        return Key::Digit2;
    case Qt::Key_3:
        return Key::Digit3;
    case Qt::Key_4:
        return Key::Digit4;
    case Qt::Key_Space:
        return Key::Space;
    case Qt::Key_Backspace:
        return Key::Backspace;
    case Qt::Key_Home:
        return Key::Home;
    case Qt::Key_End:
        return Key::End;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        return Key::Enter;
    default:
        // The Russian layout's letters on the keys a..h type moves as well.
        if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) ||
            (qtKey > 0 && LatinOfRussianKey(static_cast<char32_t>(qtKey)) != '\0'))
            return Key::Letter;
        return Key::Other;
    }
}

// The widget a key of this window is delivered to first; the filter also sees the key again
// as it travels up to the parents, and only the first delivery counts.
QWidget* KeyRouter::KeyTarget() const {
    QWidget* focus = QApplication::focusWidget();
    return focus && focus->window() == &window_ ? focus : &window_;
}

bool KeyRouter::IsMenuShortcut(const QKeyEvent& e) const {
    const QKeySequence pressed(e.keyCombination());
    for (const QAction* action : window_.menu().WithShortcuts()) {
        if (action->shortcut() == pressed)
            return true;
    }
    return false;
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* e) {
    const QEvent::Type type = e->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
        type != QEvent::ShortcutOverride && type != QEvent::Wheel)
        return false;
    if (!watched->isWidgetType())
        return false;
    auto* receiver = static_cast<QWidget*>(watched);
    if (type == QEvent::Wheel) {
        Wheel(receiver, static_cast<QWheelEvent&>(*e));
        return false;
    }
    if (receiver != KeyTarget())
        return false;
    auto& key = static_cast<QKeyEvent&>(*e);
    switch (type) {
    case QEvent::ShortcutOverride:
        // A focused line edit claims Ctrl+Z and the like; the menu's command wins instead.
        if (IsMenuShortcut(key)) {
            key.ignore();
            return true;
        }
        return false;
    case QEvent::KeyPress:
        return KeyDown(receiver, key);
    default:
        if (!key.isAutoRepeat())
            window_.game().FormKeyUp(MapKey(key.key()));
        return false;
    }
}

bool KeyRouter::KeyDown(QWidget* receiver, QKeyEvent& e) {
    Game& game = window_.game();
    const Key key = MapKey(e.key());
    game.FormKeyDown(key);
    QLineEdit* input = window_.controls().eInput;
    if (key == Key::Letter && !game.Setup().Active() && input->isEnabled() && input->isVisible())
        input->setFocus();
    if (key == Key::Letter && receiver != input && input->hasFocus()) {
        // The letter was meant for the control that had the focus; it goes to the box now.
        QKeyEvent copy(e.type(), e.key(), e.modifiers(), e.text(), e.isAutoRepeat(),
                       static_cast<quint16>(e.count()));
        QCoreApplication::sendEvent(input, &copy);
        return true;
    }
    if (receiver == window_.controls().ListBox && ListKey(e))
        return true;
    if (e.key() == Qt::Key_Menu) {
        game.imgContextPopup();
        return false;
    }
    if (key == Key::Enter && !e.isAutoRepeat())
        return PressDefaultButton();
    return false;
}

// In the move list Up and Down step through the line as undo and redo do, and Enter goes
// to the highlighted line; the list never moves its highlight by itself.
bool KeyRouter::ListKey(const QKeyEvent& e) {
    Game& game = window_.game();
    switch (e.key()) {
    case Qt::Key_Up:
        game.mmUndoClick();
        return true;
    case Qt::Key_Down:
        game.mmForwardClick();
        return true;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        game.ListBoxClick(window_.controls().ListBox->currentRow());
        return true;
    default:
        return false;
    }
}

// Enter clicks a focused push button, else the default button that can take it: the
// promotion's "Ok" while its panel is up, otherwise "Ок" of the notation box.
bool KeyRouter::PressDefaultButton() {
    if (auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        focused && focused->window() == &window_ && focused->isEnabled()) {
        focused->click();
        return true;
    }
    const Controls& ui = window_.controls();
    for (QPushButton* button : {ui.bInsertOk, ui.bbPlay}) {
        if (button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

// The window turns the wheel first, once per notch, wherever the pointer is over it.
void KeyRouter::Wheel(QWidget* receiver, const QWheelEvent& e) {
    if (receiver->window() != &window_ || receiver->childAt(e.position().toPoint()) != nullptr)
        return;
    wheelRest_ += e.angleDelta().y();
    while (wheelRest_ >= 120 || wheelRest_ <= -120) {
        const bool towardsUser = wheelRest_ < 0;
        wheelRest_ += towardsUser ? 120 : -120;
        window_.game().FormMouseWheel(towardsUser);
    }
}

} // namespace tavlon::ui
