// Tavlon: four players, one board, one window.
#include "storage/fileio.h"
#include "ui/appsetup.h"
#include "ui/mainwindow.h"
#include "ui/quitsignals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tavlon::ui::PrepareApplication(app);
    // SIGINT and SIGTERM close the window the normal way, so a changed screen mode returns;
    // heard from the start, message boxes of the start-up included.
    tavlon::ui::QuitOnSignals quitOnSignals(&app);
    TF window;
    tavlon::RemoveLeftoverTemporariesOfDataFolder(window.ProgramDir().toStdString());
    QObject::connect(&quitOnSignals, &tavlon::ui::QuitOnSignals::quitRequested, &window,
                     [&window] { tavlon::ui::CloseModalsAndWindow(window); });
    window.CenterOnDesktop();
    window.show();
    if (quitOnSignals.Requested())
        return 0; // ended while the start-up was still showing its messages
    return QApplication::exec();
}
