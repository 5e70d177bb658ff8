#include "ui/quitsignals.h"

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
    connect(notifier, &QSocketNotifier::activated, this, [this, notifier] {
        notifier->setEnabled(false);
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(pipeEnds[1], &byte, 1);
        emit quitRequested();
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

QuitOnSignals::~QuitOnSignals() {
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
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

} // namespace tavlon::ui
