#pragma once
// Event sounds through libcanberra: asynchronous, silent on failure, quiet while the
// desktop has event sounds switched off.

#include <mutex>

#include "core/sound_player.h"

struct ca_context;

namespace vellix {

class CanberraSoundPlayer final : public SoundPlayer {
  public:
    CanberraSoundPlayer() = default;
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    void play(const std::string& path) override;

  private:
    std::mutex mutex_;
    // Made on the first sound; it holds no stream between sounds, only the link to the
    // sound server. Destroying it would cut a playing sound short.
    ca_context* context_ = nullptr;
};

// The desktop's "event sounds" switch as the settings portal reports it; true when nobody
// answers.
bool desktopEventSoundsEnabled();

}  // namespace vellix
