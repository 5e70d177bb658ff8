// The window sees every key before the focused control: the game's key handlers run first,
// menu shortcuts win over the control's own keys, and Enter presses the default button.
#pragma once

#include "flow/game.h"

#include <QObject>

class QKeyEvent;
class QWheelEvent;
class QWidget;
class TF;

namespace tavlon::ui {

// The game's key for a Qt key code.
Key MapKey(int qtKey);

class KeyRouter : public QObject {
    Q_OBJECT
  public:
    explicit KeyRouter(TF& window) : window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    QWidget* KeyTarget() const;
    bool IsMenuShortcut(const QKeyEvent& e) const;
    bool KeyDown(QWidget* receiver, QKeyEvent& e);
    bool ListKey(const QKeyEvent& e);
    bool PressDefaultButton();
    void Wheel(QWidget* receiver, const QWheelEvent& e);

    TF& window_;
    int wheelRest_ = 0;
};

} // namespace tavlon::ui
