// Ending the program on SIGINT, SIGTERM and SIGHUP the normal way, so the window closes,
// keeping a game in progress, and what it changed (the screen mode) is put back.
#pragma once

#include <QObject>

class QTimer;
class QWidget;

namespace tavlon::ui {

class QuitOnSignals : public QObject {
    Q_OBJECT
  public:
    // Installs the handlers; `quitRequested` is emitted on the event loop after a signal, and
    // again while a message box or dialog is still open. Create it before anything can show
    // a message box, so that a signal arriving during one is not lost.
    explicit QuitOnSignals(QObject* parent);
    ~QuitOnSignals() override;
    // True once a signal asked the program to end.
    bool Requested() const { return requested_; }

  signals:
    void quitRequested();

  private:
    bool requested_ = false;
    QTimer* modalWatch_ = nullptr;
};

// Closes every open message box and dialog (each runs an event loop of its own that would
// keep the program waiting), then `window`.
void CloseModalsAndWindow(QWidget& window);

} // namespace tavlon::ui
