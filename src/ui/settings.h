// Window options remembered between runs: the check marks of the view menu, the scale and
// the promotion choice last used.
#pragma once

#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <optional>

class TF;

namespace tavlon::ui {

// Gives `window` the options stored in `settings` and stores every later change there.
// Returns the message for a settings file that could not be read or holds values that
// make no sense (the defaults are used then), empty when all is well. `settings` must
// outlive the window.
QString RememberSettings(TF& window, QSettings& settings);

// True when `path` is missing or a regular file (or a link to one): anything else there (a
// FIFO, a device, a folder) is never opened, since reading it could wait for ever.
bool IsUsableSettingsFile(const QString& path);

// The message for a settings file at `path` that cannot be used.
QString SettingsProblemText(const QString& path);

// The settings of this run: the file at `path` when it is usable; otherwise the run's
// options live in a scratch file that goes with the program, and Problem() says so.
class SettingsStore {
  public:
    explicit SettingsStore(const QString& path);
    QSettings& Settings() { return *settings_; }
    // Empty when the file at `path` is used.
    const QString& Problem() const { return problem_; }

  private:
    std::optional<QTemporaryDir> scratch_;
    std::unique_ptr<QSettings> settings_;
    QString problem_;
};

// The user's own settings file: tavlon/tavlon.ini in the configuration folder
// ($XDG_CONFIG_HOME, by default ~/.config). Needs no QApplication.
QString SettingsFilePath();

} // namespace tavlon::ui
