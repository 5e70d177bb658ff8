// Tavlon: four players, one board, one window.
#include "flow/keptgame.h"
#include "storage/fileio.h"
#include "ui/appsetup.h"
#include "ui/commandline.h"
#include "ui/datafolder.h"
#include "ui/gamekeeping.h"
#include "ui/imagelists.h"
#include "ui/mainwindow.h"
#include "ui/quitsignals.h"
#include "ui/settings.h"
#include "ui/zoom.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    // Meanwhile Qt starts on this thread.
    tavlon::ui::FontConfigReader fontConfig;
    const tavlon::ui::CommandLine options = tavlon::ui::ParseCommandLine(argc, argv);
    // The chosen scale applies to the whole program: Qt takes it before it starts.
    const QString settingsPath = tavlon::ui::SettingsFilePath();
    tavlon::ui::ApplyScale(tavlon::ui::RememberedScale(settingsPath));
    // Qt takes its own options out of the command line; a second start needs them again.
    static std::vector<std::string> given(argv, argv + argc);
    // The window is laid out around its own menu bar; a desktop's global menu would leave a
    // gap, and asking the desktop whether it has one costs the start-up a round trip.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    std::optional<QApplication> started(std::in_place, argc, argv);
    // A remembered scale the screen cannot hold gives way to the largest one it can: Qt
    // takes a scale only as it starts, so it starts again.
    QString scaleNote;
    const int chosenScale = tavlon::ui::AppliedScale();
    const int fittingScale =
        tavlon::ui::FittingScale(chosenScale, tavlon::ui::kWindowAt100, tavlon::ui::ScreenAt100());
    static std::vector<char*> again;
    static int againCount = 0;
    if (fittingScale != chosenScale) {
        scaleNote = tavlon::ui::ScaleFallbackText(chosenScale, fittingScale);
        started.reset();
        tavlon::ui::ApplyScale(fittingScale);
        for (std::string& arg : given)
            again.push_back(arg.data());
        again.push_back(nullptr);
        againCount = static_cast<int>(given.size());
        started.emplace(againCount, again.data());
    }
    QApplication& app = *started;
    fontConfig.Finish();
    tavlon::ui::PrepareApplication(app);
    // The kings and the setup figures are cut from their pictures on a thread of their own
    // while the window is built; their first use waits for them.
    const std::future<void> strips = std::async(std::launch::async, [] {
        tavlon::ui::Kings();
        tavlon::ui::SetupFigures();
    });
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
        QObject::connect(&quitOnSignals, &tavlon::ui::QuitOnSignals::quitRequested, &box,
                         &QMessageBox::reject);
        if (!quitOnSignals.Requested())
            box.exec();
        return 1;
    }
    // What the last run left in the folder is tidied and looked at on a thread of its own
    // while the window is built: its files may be cold on the disk. Before the start-up
    // rewrites the autosave, which waits for it: a game the autosave holds was left by a
    // crash. The offer of a kept game waits for it too.
    const std::shared_future<void> leftovers =
        std::async(std::launch::async, [path = folder.path] {
            tavlon::RemoveLeftoverTemporariesOfDataFolder(path);
            tavlon::KeepCrashedAutosave(path);
        }).share();

    // One file of the user's own, so what is found wrong in it is what it holds.
    tavlon::ui::SettingsStore settings(settingsPath);
    TF window(folder);
    window.SetStartupChores(leftovers);
    QString settingsProblem = tavlon::ui::RememberSettings(window, settings.Settings());
    if (!settings.Problem().isEmpty())
        settingsProblem = settings.Problem();
    if (!scaleNote.isEmpty()) {
        // Remembered as the scale in use, so that it is said once.
        window.scaleMenu().SetChosen(fittingScale);
        settings.Settings().setValue(tavlon::ui::kScaleKey, fittingScale);
    }
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
    // A file named on the command line (the desktop's "open with") starts that game as Open
    // would; the kept game then waits for the next start.
    std::optional<std::string> file = options.file;
    if (file) {
        std::error_code ec;
        const std::filesystem::path whole = std::filesystem::absolute(*file, ec);
        if (!ec)
            file = whole.string();
    }
    QTimer::singleShot(0, &window, [&window, keeping, settingsProblem, scaleNote, file, leftovers] {
        leftovers.wait();
        for (const QString& note : {scaleNote, settingsProblem})
            if (!note.isEmpty())
                window.Message(note.toStdString());
        if (file) {
            window.game().mmNewClick();
            window.game().OpenGame(tavlon::GameFileToOpen(*file));
            return;
        }
        keeping->OfferKeptGame();
    });
    return QApplication::exec();
}
