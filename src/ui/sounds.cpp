#include "ui/sounds.h"

#include <QSoundEffect>
#include <QUrl>

using namespace Qt::StringLiterals;

// Q_INIT_RESOURCE declares its function where it is used, so it stays outside any namespace;
// calling it keeps the linker from dropping the sounds of the static library.
static void RegisterSounds() {
    Q_INIT_RESOURCE(sounds);
}

namespace tavlon::ui {

MoveSounds::MoveSounds(QObject* parent) : QObject(parent) {
    RegisterSounds();
}

void MoveSounds::SetEnabled(bool on) {
    enabled_ = on;
    if (!on || effects_[0] != nullptr)
        return;
    // The files are compiled in; QSoundEffect decodes them on its own and plays them on the
    // default output, or stays silent (its status an error) where there is none.
    const QString names[3] = {u"move"_s, u"capture"_s, u"check"_s};
    for (int i = 0; i < 3; ++i) {
        effects_[i] = new QSoundEffect(this);
        effects_[i]->setSource(QUrl(u"qrc:/sounds/"_s + names[i] + u".wav"_s));
        effects_[i]->setVolume(0.6f);
    }
}

void MoveSounds::Play(MoveSound sound) {
    if (!enabled_)
        return;
    QSoundEffect* effect = effects_[static_cast<int>(sound)];
    if (effect != nullptr && effect->status() != QSoundEffect::Error)
        effect->play();
}

} // namespace tavlon::ui
