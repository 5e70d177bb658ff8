// Ending the program on SIGINT and SIGTERM the normal way, so the window closes and what it
// changed (the screen mode) is put back.
#pragma once

#include <QObject>

namespace tavlon::ui {

class QuitOnSignals : public QObject {
    Q_OBJECT
  public:
    // Installs the handlers; `quitRequested` is emitted on the event loop after a signal.
    explicit QuitOnSignals(QObject* parent);
    ~QuitOnSignals() override;

  signals:
    void quitRequested();
};

} // namespace tavlon::ui
