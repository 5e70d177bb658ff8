#include "ui/quitsignals.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace tavlon::ui {

#ifdef Q_OS_UNIX
namespace {

int pipeEnds[2] = {-1, -1};

// A signal handler may only write: the event loop reads the other end.
void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(pipeEnds[0], &byte, 1);
}

} // namespace

QuitOnSignals::QuitOnSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pipeEnds) != 0)
        return;
    auto* notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    // A message box opened after the signal (the start-up goes on showing what it has to
    // say once the box before it is closed) is closed as well.
    modalWatch_ = new QTimer(this);
    modalWatch_->setInterval(50);
    connect(modalWatch_, &QTimer::timeout, this, [this] {
        if (QApplication::activeModalWidget())
            emit quitRequested();
    });
    // The notifier stays on: every later signal is heard too.
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(pipeEnds[1], &byte, 1);
        requested_ = true;
        modalWatch_->start();
        emit quitRequested();
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // The terminal the program was started from going away ends it the same way, unless
    // the program was started to ignore that (nohup).
    struct sigaction hangup = {};
    if (sigaction(SIGHUP, nullptr, &hangup) == 0 && hangup.sa_handler != SIG_IGN)
        sigaction(SIGHUP, &action, nullptr);
}

QuitOnSignals::~QuitOnSignals() {
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    struct sigaction hangup = {};
    if (sigaction(SIGHUP, nullptr, &hangup) == 0 && hangup.sa_handler == OnSignal)
        signal(SIGHUP, SIG_DFL);
    for (int& end : pipeEnds) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

#else

QuitOnSignals::QuitOnSignals(QObject* parent) : QObject(parent) {}
QuitOnSignals::~QuitOnSignals() = default;

#endif

void CloseModalsAndWindow(QWidget& window) {
    // Closing a box ends its loop; the next one up the stack is then the active one.
    for (int i = 0; i < 16; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            break;
        modal->close();
    }
    window.close();
}

} // namespace tavlon::ui
