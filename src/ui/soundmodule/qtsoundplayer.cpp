// The sound module: the move sounds played with Qt Multimedia.
#include "ui/soundplayer.h"

#include <QObject>
#include <QSoundEffect>
#include <QUrl>

using namespace Qt::StringLiterals;

// Q_INIT_RESOURCE declares its function where it is used, so it stays outside any namespace.
static void RegisterSounds() {
    Q_INIT_RESOURCE(sounds);
}

namespace tavlon::ui {
namespace {

class QtSoundPlayer final : public SoundPlayer {
  public:
    QtSoundPlayer() {
        RegisterSounds();
        // The files are compiled in; QSoundEffect decodes them on its own and plays them on
        // the default output, or stays silent (its status an error) where there is none.
        const QString names[3] = {u"move"_s, u"capture"_s, u"check"_s};
        for (int i = 0; i < 3; ++i) {
            effects_[i] = new QSoundEffect(&owner_);
            effects_[i]->setSource(QUrl(u"qrc:/sounds/"_s + names[i] + u".wav"_s));
            effects_[i]->setVolume(0.6f);
        }
    }

    void Play(MoveSound sound) override {
        QSoundEffect* effect = effects_[static_cast<int>(sound)];
        if (effect->status() != QSoundEffect::Error)
            effect->play();
    }

  private:
    QObject owner_; // of the effects
    QSoundEffect* effects_[3] = {};
};

} // namespace
} // namespace tavlon::ui

extern "C" Q_DECL_EXPORT tavlon::ui::SoundPlayer* tavlon_make_sound_player() {
    return new tavlon::ui::QtSoundPlayer;
}
