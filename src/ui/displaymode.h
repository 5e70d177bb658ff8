// The screen modes that "Увеличить масштаб" (F11) cycles through, and the switch of the
// primary display to them where the platform allows it.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>

namespace tavlon::ui {

inline constexpr QSize kDisplayModes[9] = {{1600, 900}, {1440, 900}, {1360, 768},
                                           {1280, 800}, {1280, 768}, {1280, 720},
                                           {1152, 864}, {1024, 768}, {800, 600}};

// Switches the primary output of the screen; the original mode comes back on destruction.
class ScreenSwitcher {
  public:
    virtual ~ScreenSwitcher() = default;
    // Asks for a mode of exactly `size`; nothing happens when the output has none. Returns
    // the area the output covers after a switch, nothing when no switch took place.
    virtual std::optional<QRect> Request(QSize size) = 0;
};

// XRandR on X11 where it was built in; a switcher that does nothing everywhere else.
std::unique_ptr<ScreenSwitcher> MakeScreenSwitcher();

class DisplayModes {
  public:
    explicit DisplayModes(std::unique_ptr<ScreenSwitcher> switcher)
        : switcher_(std::move(switcher)) {}
    // Advances to the next mode (9 wraps to 1), requests it and returns its name "WxH".
    QString Next();
    // 0 before the first F11, then 1..9.
    int Index() const { return index_; }
    // The area of the switched output after the last Next, nothing when it switched nothing.
    const std::optional<QRect>& SwitchedArea() const { return switched_; }
    // Replaces the switcher (tests).
    void SetSwitcher(std::unique_ptr<ScreenSwitcher> switcher) { switcher_ = std::move(switcher); }

  private:
    std::unique_ptr<ScreenSwitcher> switcher_;
    int index_ = 0;
    std::optional<QRect> switched_;
};

// Where a window whose frame is `frame` goes so that all of it lies within `area`: moved as
// little as possible; a window larger than the area keeps its top-left corner in it.
QPoint KeptWithin(const QRect& frame, const QRect& area);

} // namespace tavlon::ui
