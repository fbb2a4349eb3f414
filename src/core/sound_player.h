#pragma once
// Plays a sound file for an event: asynchronous, and silent when it cannot.

#include <string>

namespace vellix {

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    virtual void play(const std::string& path) = 0;
};

}  // namespace vellix
