#include "ui/gamekeeping.h"

#include "flow/filemessages.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QEvent>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

namespace tavlon::ui {

GameKeeping::GameKeeping(TF& window)
    : QObject(&window), window_(window), keeper_(window.game(), window) {
    // Every way of closing the window ends in its close event: one place keeps the game.
    window.installEventFilter(this);
#if QT_CONFIG(sessionmanager)
    // The session may end the program without closing the window; nobody answers then.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { Keep(false); });
#endif
}

bool GameKeeping::eventFilter(QObject* watched, QEvent* e) {
    if (watched == &window_ && e->type() == QEvent::Close)
        Keep(!quiet_);
    return QObject::eventFilter(watched, e);
}

void GameKeeping::Keep(bool tellFailure) {
    // A close asked for again while the failure is told does not write twice.
    if (keeping_)
        return;
    keeping_ = true;
    const FileError error = keeper_.KeepAtClose();
    if (error && tellFailure) {
        std::string text = FileErrorText(error);
        text += '\n';
        text += texts::kKeepFailed;
        window_.Message(text);
    }
    keeping_ = false;
}

void GameKeeping::OfferKeptGame() {
    const KeptKind kind = keeper_.Find();
    if (kind == KeptKind::None || !window_.isVisible())
        return;
    const Answer answer =
        window_.Dialogs().AskYesNo(QString::fromStdString(keeper_.Question(kind)));
    if (quiet_)
        return; // the box was closed by a signal, not answered
    keeper_.Settle(kind, answer);
}

} // namespace tavlon::ui
