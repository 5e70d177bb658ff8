// The move sounds: a move, a capture and a check, played without waiting for them. Off
// until switched on; without a sound device they are simply not heard.
#pragma once

#include "port/windowport.h"

#include <QObject>

class QSoundEffect;

namespace tavlon::ui {

class MoveSounds : public QObject {
  public:
    explicit MoveSounds(QObject* parent = nullptr);
    bool Enabled() const { return enabled_; }
    // The sounds are loaded the first time they are switched on.
    void SetEnabled(bool on);
    // Starts the sound and returns at once; does nothing while switched off.
    void Play(MoveSound sound);

  private:
    bool enabled_ = false;
    QSoundEffect* effects_[3] = {};
};

} // namespace tavlon::ui
