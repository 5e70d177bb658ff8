// The game outlives the program: kept in the data folder whenever the window closes (its
// close button, Alt+F4, "Выход", a signal) or the desktop session ends, and offered at the
// next start.
#pragma once

#include "flow/keptgame.h"

#include <QObject>

class TF;

namespace tavlon::ui {

class GameKeeping : public QObject {
    Q_OBJECT
  public:
    // Watches `window` closing and the session ending; each keeps a game in progress.
    explicit GameKeeping(TF& window);
    // The closes that follow tell no failure: nobody may be there to answer (a signal).
    void SetQuiet() { quiet_ = true; }
    // Asks "Продолжить прошлую партию?" when a kept game exists and does what the answer
    // says. Escape, closing the box and a signal that ends the program while it asks leave
    // the kept game for the next start.
    void OfferKeptGame();

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void Keep(bool tellFailure);

    TF& window_;
    GameKeeper keeper_;
    bool quiet_ = false;
    bool keeping_ = false;
};

} // namespace tavlon::ui
