// The window's scale, "Вид" → "Масштаб": every control, font and picture at 100 %, 150 % or
// 200 %. Qt scales a whole program evenly when told before it starts, so the scale is read
// from the settings file at start-up, and a new choice is remembered for the next start.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringView>
#include <array>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace tavlon::ui {

inline constexpr std::array<int, 3> kScales = {100, 150, 200};
// The settings key of the chosen scale, in percent.
inline constexpr QStringView kScaleKey = u"view/scale";

// The scale remembered in the settings file at `settingsPath`; 100 when there is none or
// it makes no sense.
int RememberedScale(const QString& settingsPath);
// Asks Qt to scale the whole program by `percent` (on top of a scale the user's environment
// asks for). Call before the QApplication exists.
void ApplyScale(int percent);
// The scale this run was started at, in percent.
int AppliedScale();

// The window at 100 % with a window manager's usual frame.
inline constexpr QSize kWindowAt100(497 + 8, 473 + 19 + 24 + 36);
// The largest scale up to `chosen` at which a window of size `window` at 100 % fits a
// screen area of size `screen` at 100 %; 100 when none does.
int FittingScale(int chosen, QSize window, QSize screen);
// The available area of the primary screen in the window's units at 100 % (a QApplication
// must exist); an empty size when there is no screen.
QSize ScreenAt100();
// Said once when the remembered scale gave way to `fitting`.
QString ScaleFallbackText(int chosen, int fitting);

// The submenu "Масштаб" of the view menu, one check item per scale; the scale chosen last
// is checked. A scale at which the window would not fit the screen is refused with a word.
class ScaleMenu : public QObject {
    Q_OBJECT
  public:
    using Reporter = std::function<void(const QString&)>;
    ScaleMenu(QMenu* viewMenu, QWidget* window, Reporter report);

    int Chosen() const { return chosen_; }
    // Checks `percent` silently (the remembered choice); false when it is not a scale.
    bool SetChosen(int percent);
    QAction* Item(int percent) const;
    QMenu* Menu() const { return menu_; }
    // The screen area the window must fit at a new scale: by default the available area of
    // the window's screen (tests replace it).
    std::function<QRect()> screenArea;

  signals:
    void chosen(int percent);

  private:
    void Choose(int percent);
    bool Fits(int percent) const;

    QWidget* window_;
    Reporter report_;
    QMenu* menu_;
    std::array<QAction*, kScales.size()> items_{};
    int chosen_ = 100;
};

} // namespace tavlon::ui
