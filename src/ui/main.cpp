// Tavlon: four players, one board, one window.
#include "flow/keptgame.h"
#include "storage/fileio.h"
#include "ui/appsetup.h"
#include "ui/commandline.h"
#include "ui/datafolder.h"
#include "ui/gamekeeping.h"
#include "ui/mainwindow.h"
#include "ui/quitsignals.h"
#include "ui/settings.h"
#include "ui/zoom.h"

#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    const tavlon::ui::CommandLine options = tavlon::ui::ParseCommandLine(argc, argv);
    // The chosen scale applies to the whole program: Qt takes it before it starts.
    tavlon::ui::ApplyScale(tavlon::ui::RememberedScale(tavlon::ui::SettingsFilePath()));
    QApplication app(argc, argv);
    tavlon::ui::PrepareApplication(app);
    // SIGINT and SIGTERM close the window the normal way, so a changed screen mode returns;
    // heard from the start, message boxes of the start-up included.
    tavlon::ui::QuitOnSignals quitOnSignals(&app);

    const tavlon::ui::DataFolder folder =
        tavlon::ui::ChooseDataFolder(tavlon::ui::SystemSources(options.dataDir));
    // Two games on one folder would write the same autosave: the second one ends here.
    const tavlon::ui::DataFolderLock lock(folder.path);
    if (!lock.Held()) {
        QMessageBox box(QMessageBox::Warning, u"Tavlon"_s,
                        tavlon::ui::DataFolderBusyText(folder.path), QMessageBox::Ok);
        box.exec();
        return 1;
    }
    tavlon::RemoveLeftoverTemporariesOfDataFolder(folder.path);
    // Before the start-up rewrites the autosave: a game it holds was left by a crash.
    tavlon::KeepCrashedAutosave(folder.path);

    // One file of the user's own, so what is found wrong in it is what it holds.
    QSettings settings(tavlon::ui::SettingsFilePath(), QSettings::IniFormat);
    TF window(folder);
    const QString settingsProblem = tavlon::ui::RememberSettings(window, settings);
    auto* keeping = new tavlon::ui::GameKeeping(window); // owned by the window
    QObject::connect(&quitOnSignals, &tavlon::ui::QuitOnSignals::quitRequested, &window,
                     [&window, keeping] {
                         keeping->SetQuiet();
                         tavlon::ui::CloseModalsAndWindow(window);
                     });
    window.CenterOnDesktop();
    window.show();
    if (quitOnSignals.Requested())
        return 0; // ended while the start-up was still showing its messages
    // What is wrong with the folder or the settings is told once, over the shown window;
    // then a game kept from the last run is offered.
    QTimer::singleShot(0, &window, [&window, keeping, settingsProblem] {
        if (!settingsProblem.isEmpty())
            window.Message(settingsProblem.toStdString());
        keeping->OfferKeptGame();
    });
    return QApplication::exec();
}
