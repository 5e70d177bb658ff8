#include "ui/sounds.h"

#include "ui/soundplayer.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace tavlon::ui {
namespace {

// Where the sound module may be: beside the program (a build, a portable folder), where
// installing puts it (relative to the program, then as configured), then in the build that
// made this program (its tests run from another folder).
QStringList SoundModulePlaces() {
    const QString module = QStringLiteral(TAVLON_SOUND_MODULE);
    const QString beside = QCoreApplication::applicationDirPath() + u'/';
    return {beside + module, beside + QStringLiteral(TAVLON_SOUND_MODULE_RELATIVE) + u'/' + module,
            QStringLiteral(TAVLON_SOUND_MODULE_INSTALLED) + u'/' + module,
            QStringLiteral(TAVLON_SOUND_MODULE_BUILT) + u'/' + module};
}

} // namespace

MoveSounds::MoveSounds(QObject* parent) : QObject(parent) {}

MoveSounds::~MoveSounds() = default;

void MoveSounds::SetEnabled(bool on) {
    enabled_ = on;
    if (!on || loadAsked_)
        return;
    loadAsked_ = true;
    QTimer::singleShot(0, this, &MoveSounds::Load);
}

void MoveSounds::Load() {
    for (const QString& place : SoundModulePlaces()) {
        // The module stays loaded for good: the player's code lives in it.
        QLibrary module(place);
        if (const auto make = reinterpret_cast<MakeSoundPlayer>(module.resolve(kMakeSoundPlayer))) {
            player_.reset(make());
            return;
        }
    }
}

void MoveSounds::Play(MoveSound sound) {
    if (enabled_ && player_)
        player_->Play(sound);
}

} // namespace tavlon::ui
