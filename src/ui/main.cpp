// Tavlon: four players, one board, one window.
#include "ui/appsetup.h"
#include "ui/mainwindow.h"
#include "ui/quitsignals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tavlon::ui::PrepareApplication(app);
    TF window;
    // SIGINT and SIGTERM close the window the normal way, so a changed screen mode returns.
    tavlon::ui::QuitOnSignals quitOnSignals(&app);
    QObject::connect(&quitOnSignals, &tavlon::ui::QuitOnSignals::quitRequested, &window,
                     &TF::close);
    window.CenterOnDesktop();
    window.show();
    return QApplication::exec();
}
