// The move sounds: a move, a capture and a check, played without waiting for them. Off
// until switched on; without a sound device, or without the sound module, they are simply
// not heard.
#pragma once

#include "port/windowport.h"

#include <QObject>
#include <memory>

namespace tavlon::ui {

class SoundPlayer;

class MoveSounds : public QObject {
  public:
    explicit MoveSounds(QObject* parent = nullptr);
    ~MoveSounds() override;
    bool Enabled() const { return enabled_; }
    // True once the sound module is loaded and its player made.
    bool Loaded() const { return player_ != nullptr; }
    // The sound module is loaded the first time they are switched on, once the event loop
    // runs (a start with sounds remembered on shows its window first).
    void SetEnabled(bool on);
    // Starts the sound and returns at once; does nothing while switched off.
    void Play(MoveSound sound);

  private:
    void Load();
    bool enabled_ = false;
    bool loadAsked_ = false;
    std::unique_ptr<SoundPlayer> player_;
};

} // namespace tavlon::ui
