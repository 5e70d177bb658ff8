#include "ui/settings.h"

#include "ui/glanceview.h"
#include "ui/mainwindow.h"
#include "ui/widgets.h"
#include "ui/zoom.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <filesystem>

using namespace Qt::StringLiterals;

namespace tavlon::ui {
namespace {

const QString kMoveHints = u"view/moveHints"_s;
const QString kPromotion = u"play/promotion"_s;
const QString kShowScore = u"view/score"_s;
const QString kSeats = u"play/seats"_s;
const QString kRounds = u"play/rounds"_s;

// Gives the check item `item` its remembered state; false when the stored value is neither
// "true" nor "false" (the item keeps its mark then).
bool RestoreCheck(const QSettings& settings, const QString& key, QAction* item) {
    if (!settings.contains(key))
        return true;
    const QString value = settings.value(key).toString();
    if (value != u"true"_s && value != u"false"_s)
        return false;
    item->setChecked(value == u"true"_s);
    return true;
}

} // namespace

QString RememberSettings(TF& window, QSettings& settings) {
    // The file is read at the first question, and only then says whether it could be.
    settings.allKeys();
    window.SetRememberedSettings(&settings); // the network game's options live there too
    bool damaged = settings.status() != QSettings::NoError;
    const Controls& ui = window.controls();
    QAction* hints = window.menu().mmViewRun;

    if (!damaged && settings.contains(kMoveHints)) {
        const QString value = settings.value(kMoveHints).toString();
        damaged = value != u"true"_s && value != u"false"_s;
        const bool on = value == u"true"_s || damaged;
        if (on != window.game().MoveHintsOn())
            hints->trigger(); // the menu's own toggle keeps the mark and the game together
    }
    if (!damaged && settings.contains(kPromotion)) {
        bool number = false;
        const int item = settings.value(kPromotion).toInt(&number);
        if (number && item >= 0 && item < ui.cbFigures->count())
            ui.cbFigures->setCurrentIndex(item);
        else
            damaged = true;
    }

    GlanceView& glance = window.glanceView();
    for (const auto& [key, item] : {std::pair{u"view/lastMoves"_s, glance.mmViewLastMoves},
                                    {u"view/checksOnBoard"_s, glance.mmViewChecks},
                                    {u"view/turnFrame"_s, glance.mmViewTurnFrame},
                                    {u"view/turnBoard"_s, glance.mmViewTurnBoard},
                                    {u"view/sound"_s, window.menu().mmSound}}) {
        if (!damaged && !RestoreCheck(settings, key, item))
            damaged = true;
        QObject::connect(item, &QAction::toggled, &window,
                         [&settings, key](bool on) { settings.setValue(key, on); });
    }

    ScaleMenu& scale = window.scaleMenu();
    if (!damaged && settings.contains(kScaleKey)) {
        bool number = false;
        const int percent = settings.value(kScaleKey).toInt(&number);
        damaged = !number || !scale.SetChosen(percent);
    }
    QObject::connect(&scale, &ScaleMenu::chosen, &window,
                     [&settings](int percent) { settings.setValue(kScaleKey, percent); });

    QObject::connect(hints, &QAction::toggled, &window,
                     [&settings](bool on) { settings.setValue(kMoveHints, on); });

    // The score's mark and who plays each colour.
    if (!damaged && !RestoreCheck(settings, kShowScore, window.menu().mmViewScore))
        damaged = true;
    QObject::connect(window.menu().mmViewScore, &QAction::toggled, &window,
                     [&settings](bool on) { settings.setValue(kShowScore, on); });
    if (!damaged && settings.contains(kSeats)) {
        Players players;
        // A list as the file may hold it, or as this program writes it: "0,1,2,3".
        const QVariant stored = settings.value(kSeats);
        const QStringList seats = stored.typeId() == QMetaType::QStringList
                                      ? stored.toStringList()
                                      : stored.toString().split(u',');
        bool number = seats.size() == 4;
        for (int p = 1; number && p <= 4; ++p) {
            const int level = seats[p - 1].toInt(&number);
            number = number && level >= 0 && level <= 3;
            players.level[p] = static_cast<std::uint8_t>(level);
        }
        const int rounds = settings.value(kRounds, 0).toInt(&number);
        if (number && rounds >= 0 && rounds <= 2500) {
            players.rounds = rounds;
            window.SetPlayers(players);
        } else {
            damaged = true;
        }
    }
    QObject::connect(&window, &TF::playersChosen, &window, [&settings, &window] {
        const Players& players = window.game().GetPlayers();
        settings.setValue(kSeats, u"%1,%2,%3,%4"_s.arg(players.level[1])
                                      .arg(players.level[2])
                                      .arg(players.level[3])
                                      .arg(players.level[4]));
        settings.setValue(kRounds, players.rounds);
    });
    QObject::connect(ui.cbFigures, &QComboBox::currentIndexChanged, &window,
                     [&settings](int item) { settings.setValue(kPromotion, item); });
    if (!damaged)
        return {};
    return SettingsProblemText(settings.fileName());
}

bool IsUsableSettingsFile(const QString& path) {
    std::error_code ec;
    const auto st = std::filesystem::status(QFile::encodeName(path).toStdString(), ec);
    if (st.type() == std::filesystem::file_type::not_found)
        return true; // made at the first change
    return !ec && std::filesystem::is_regular_file(st);
}

QString SettingsProblemText(const QString& path) {
    return u"Файл настроек «%1» повреждён или не читается; действуют настройки по умолчанию."_s.arg(
        path);
}

SettingsStore::SettingsStore(const QString& path) {
    if (IsUsableSettingsFile(path)) {
        settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
        return;
    }
    scratch_.emplace();
    settings_ =
        std::make_unique<QSettings>(scratch_->filePath(u"tavlon.ini"_s), QSettings::IniFormat);
    problem_ = SettingsProblemText(path);
}

QString SettingsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/tavlon/tavlon.ini"_s;
}

} // namespace tavlon::ui
