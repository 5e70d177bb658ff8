// The player of the move sounds, the one part of the window that needs Qt Multimedia. It
// lives in a module of its own that the window loads when sounds are first switched on, so
// a start without sounds never loads Qt Multimedia and the score of libraries it brings.
#pragma once

#include "port/windowport.h"

namespace tavlon::ui {

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Starts `sound` and returns at once; silent where there is no sound device.
    virtual void Play(MoveSound sound) = 0;
};

// The module's one entry point, by this name: a new player, owned by the caller.
using MakeSoundPlayer = SoundPlayer* (*)();
inline constexpr char kMakeSoundPlayer[] = "tavlon_make_sound_player";

} // namespace tavlon::ui
