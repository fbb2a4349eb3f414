#pragma once
// Idle time from the X server's screen-saver extension; where the server has the SYNC
// extension's IDLETIME counter, an alarm on it reports resumed input as an event.

#include <memory>
#include <string>

#include "platform/idle_source.h"

namespace vellix {

class X11IdleSource final : public IdleSource {
  public:
    // displayName empty: $DISPLAY.
    static Result<std::unique_ptr<X11IdleSource>> open(const std::string& displayName = {});
    ~X11IdleSource() override;
    X11IdleSource(const X11IdleSource&) = delete;
    X11IdleSource& operator=(const X11IdleSource&) = delete;

    Result<std::int64_t> idleMilliseconds() override;
    std::string name() const override { return "X11 screen saver extension"; }
    bool watchResume(std::int64_t belowMs, std::function<void()> resumed) override;
    void cancelWatch() override;

  private:
    struct Connection;
    explicit X11IdleSource(std::unique_ptr<Connection> connection);
    void readEvents();
    std::unique_ptr<Connection> connection_;
};

}  // namespace vellix
