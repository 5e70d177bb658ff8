#include "ui/displaymode.h"

#include <QGuiApplication>
#include <algorithm>
#include <vector>

#ifdef TAVLON_HAVE_XRANDR
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#endif

using namespace Qt::StringLiterals;

namespace tavlon::ui {

QString DisplayModes::Next() {
    index_ = index_ % 9 + 1;
    const QSize size = kDisplayModes[index_ - 1];
    switched_.reset();
    if (switcher_)
        switched_ = switcher_->Request(size);
    return QString::number(size.width()) + u'x' + QString::number(size.height());
}

namespace {

class NoSwitcher final : public ScreenSwitcher {
  public:
    std::optional<QRect> Request(QSize) override { return std::nullopt; }
};

#ifdef TAVLON_HAVE_XRANDR

int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

// Switches the CRTC of the primary output (or of the first active one) and the screen size
// with it; errors of the server are swallowed so a refused mode changes nothing.
class XrandrSwitcher final : public ScreenSwitcher {
  public:
    // The connection of its own is opened at the first switch: most games never switch,
    // and opening it (a second connection to the server, Xlib's locale set-up) would delay
    // the window's first showing.
    XrandrSwitcher() = default;
    ~XrandrSwitcher() override {
        if (display_ && changed_)
            Apply(originalMode_, originalSize_, originalMillimetres_);
        if (display_)
            XCloseDisplay(display_);
    }

    std::optional<QRect> Request(QSize size) override {
        if (!display_ && !tried_) {
            tried_ = true;
            display_ = XOpenDisplay(nullptr);
        }
        if (!display_)
            return std::nullopt;
        if (!changed_ && !RememberOriginal())
            return std::nullopt;
        const RRMode mode = FindMode(size);
        if (mode == None)
            return std::nullopt;
        // Keep the physical size in proportion so the reported dots per inch stay.
        const QSize mm(originalMillimetres_.width() * size.width() / originalSize_.width(),
                       originalMillimetres_.height() * size.height() / originalSize_.height());
        Apply(mode, size, mm);
        changed_ = true;
        return QRect(origin_, size);
    }

  private:
    bool RememberOriginal() {
        Window root = DefaultRootWindow(display_);
        XRRScreenResources* res = XRRGetScreenResourcesCurrent(display_, root);
        if (!res)
            return false;
        std::vector<RROutput> candidates;
        if (const RROutput primary = XRRGetOutputPrimary(display_, root); primary != None)
            candidates.push_back(primary);
        else
            candidates.assign(res->outputs, res->outputs + res->noutput);
        bool found = false;
        for (const RROutput candidate : candidates) {
            XRROutputInfo* info = XRRGetOutputInfo(display_, res, candidate);
            if (info && info->crtc != None) {
                if (XRRCrtcInfo* crtc = XRRGetCrtcInfo(display_, res, info->crtc)) {
                    output_ = candidate;
                    crtc_ = info->crtc;
                    originalMode_ = crtc->mode;
                    origin_ = QPoint(crtc->x, crtc->y);
                    found = true;
                    XRRFreeCrtcInfo(crtc);
                }
            }
            if (info)
                XRRFreeOutputInfo(info);
            if (found)
                break;
        }
        XRRFreeScreenResources(res);
        const int screen = DefaultScreen(display_);
        originalSize_ = QSize(DisplayWidth(display_, screen), DisplayHeight(display_, screen));
        originalMillimetres_ =
            QSize(DisplayWidthMM(display_, screen), DisplayHeightMM(display_, screen));
        return found && !originalSize_.isEmpty();
    }

    RRMode FindMode(QSize size) {
        Window root = DefaultRootWindow(display_);
        XRRScreenResources* res = XRRGetScreenResourcesCurrent(display_, root);
        if (!res)
            return None;
        RRMode mode = None;
        if (XRROutputInfo* info = XRRGetOutputInfo(display_, res, output_)) {
            for (int i = 0; i < info->nmode && mode == None; ++i) {
                for (int j = 0; j < res->nmode; ++j) {
                    const XRRModeInfo& m = res->modes[j];
                    if (m.id == info->modes[i] && static_cast<int>(m.width) == size.width() &&
                        static_cast<int>(m.height) == size.height()) {
                        mode = m.id;
                        break;
                    }
                }
            }
            XRRFreeOutputInfo(info);
        }
        XRRFreeScreenResources(res);
        return mode;
    }

    void Apply(RRMode mode, QSize size, QSize millimetres) {
        auto* previous = XSetErrorHandler(IgnoreXError);
        Window root = DefaultRootWindow(display_);
        XGrabServer(display_);
        if (XRRScreenResources* res = XRRGetScreenResourcesCurrent(display_, root)) {
            if (XRRCrtcInfo* crtc = XRRGetCrtcInfo(display_, res, crtc_)) {
                XRRSetCrtcConfig(display_, res, crtc_, CurrentTime, 0, 0, None, crtc->rotation,
                                 nullptr, 0);
                XRRSetScreenSize(display_, root, size.width(), size.height(), millimetres.width(),
                                 millimetres.height());
                RROutput output = output_;
                XRRSetCrtcConfig(display_, res, crtc_, CurrentTime, crtc->x, crtc->y, mode,
                                 crtc->rotation, &output, 1);
                XRRFreeCrtcInfo(crtc);
            }
            XRRFreeScreenResources(res);
        }
        XUngrabServer(display_);
        XSync(display_, False);
        XSetErrorHandler(previous);
    }

    Display* display_ = nullptr;
    bool tried_ = false;
    RROutput output_ = None;
    RRCrtc crtc_ = None;
    RRMode originalMode_ = None;
    QSize originalSize_, originalMillimetres_;
    QPoint origin_;
    bool changed_ = false;
};

#endif

} // namespace

QPoint KeptWithin(const QRect& frame, const QRect& area) {
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    return {x, y};
}

std::unique_ptr<ScreenSwitcher> MakeScreenSwitcher() {
#ifdef TAVLON_HAVE_XRANDR
    if (QGuiApplication::platformName() == u"xcb"_s)
        return std::make_unique<XrandrSwitcher>();
#endif
    return std::make_unique<NoSwitcher>();
}

} // namespace tavlon::ui
