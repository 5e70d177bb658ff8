#include "ui/zoom.h"

#include "ui/settings.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace tavlon::ui {
namespace {

int applied = 100;

bool IsScale(int percent) {
    return std::find(kScales.begin(), kScales.end(), percent) != kScales.end();
}

} // namespace

int RememberedScale(const QString& settingsPath) {
    if (!IsUsableSettingsFile(settingsPath))
        return 100;
    const QSettings settings(settingsPath, QSettings::IniFormat);
    bool number = false;
    const int percent = settings.value(kScaleKey).toInt(&number);
    return number && IsScale(percent) ? percent : 100;
}

void ApplyScale(int percent) {
    if (!IsScale(percent) || percent == applied)
        return;
    // The user's own factor as the program was started, before any scale of ours.
    static const QByteArray users = qgetenv("QT_SCALE_FACTOR");
    double factor = percent / 100.0;
    bool given = false;
    const double own = users.toDouble(&given);
    if (given && own > 0)
        factor *= own;
    if (percent == 100 && users.isEmpty())
        qunsetenv("QT_SCALE_FACTOR");
    else
        qputenv("QT_SCALE_FACTOR", QByteArray::number(factor));
    applied = percent;
}

int AppliedScale() {
    return applied;
}

int FittingScale(int chosen, QSize window, QSize screen) {
    if (screen.isEmpty())
        return chosen; // nothing known to fit
    int fitting = 100;
    for (const int percent : kScales) {
        const QSize needed = window * (percent / 100.0);
        if (percent <= chosen && needed.width() <= screen.width() &&
            needed.height() <= screen.height())
            fitting = percent;
    }
    return fitting;
}

QSize ScreenAt100() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return screen->availableGeometry().size() * (applied / 100.0);
}

QString ScaleFallbackText(int chosen, int fitting) {
    return u"Окно в масштабе %1 % не помещается на экране; действует масштаб %2 %."_s.arg(chosen)
        .arg(fitting);
}

ScaleMenu::ScaleMenu(QMenu* viewMenu, QWidget* window, Reporter report)
    : QObject(viewMenu), window_(window), report_(std::move(report)),
      menu_(viewMenu->addMenu(u"Масштаб"_s)), chosen_(applied) {
    menu_->setObjectName(u"mmScale"_s);
    auto* group = new QActionGroup(this);
    for (std::size_t i = 0; i < kScales.size(); ++i) {
        const int percent = kScales[i];
        QAction* item = menu_->addAction(u"%1 %"_s.arg(percent));
        item->setObjectName(u"mmScale%1"_s.arg(percent));
        item->setCheckable(true);
        item->setChecked(percent == chosen_);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, percent] { Choose(percent); });
        items_[i] = item;
    }
    screenArea = [window] {
        const QScreen* screen = window->screen();
        return screen ? screen->availableGeometry() : QRect();
    };
}

QAction* ScaleMenu::Item(int percent) const {
    for (std::size_t i = 0; i < kScales.size(); ++i)
        if (kScales[i] == percent)
            return items_[i];
    return nullptr;
}

bool ScaleMenu::SetChosen(int percent) {
    QAction* item = Item(percent);
    if (!item)
        return false;
    chosen_ = percent;
    item->setChecked(true);
    return true;
}

bool ScaleMenu::Fits(int percent) const {
    // The client area grows with the scale, the window manager's frame does not.
    const QSize client = window_->size();
    const QSize frame = window_->frameGeometry().size() - client;
    const QSize needed = client * (static_cast<double>(percent) / applied) + frame;
    const QRect area = screenArea();
    return needed.width() <= area.width() && needed.height() <= area.height();
}

void ScaleMenu::Choose(int percent) {
    if (percent == chosen_)
        return;
    if (!Fits(percent)) {
        Item(chosen_)->setChecked(true);
        report_(u"Окно в масштабе %1 % не поместится на экране."_s.arg(percent));
        return;
    }
    chosen_ = percent;
    emit chosen(percent);
    if (percent != applied)
        report_(u"Масштаб изменится при следующем запуске программы."_s);
}

} // namespace tavlon::ui
