// Window options remembered between runs: the check marks of the view menu, the scale and
// the promotion choice last used.
#pragma once

#include <QString>

class QSettings;
class TF;

namespace tavlon::ui {

// Gives `window` the options stored in `settings` and stores every later change there.
// Returns the message for a settings file that could not be read or holds values that
// make no sense (the defaults are used then), empty when all is well. `settings` must
// outlive the window.
QString RememberSettings(TF& window, QSettings& settings);

// The user's own settings file: tavlon/tavlon.ini in the configuration folder
// ($XDG_CONFIG_HOME, by default ~/.config). Needs no QApplication.
QString SettingsFilePath();

} // namespace tavlon::ui
