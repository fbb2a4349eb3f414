#pragma once
// Idle time over the session bus, for desktops without X11: the compositor's idle monitor
// where there is one, else the screen saver service.

#include <memory>
#include <string>

#include "platform/idle_source.h"

namespace vellix {

class DBusIdleSource final : public IdleSource {
  public:
    struct Endpoint {
        std::string service, path, interface, method;
    };

    // Probes the known endpoints in order and keeps the first that answers.
    static Result<std::unique_ptr<DBusIdleSource>> open();

    Result<std::int64_t> idleMilliseconds() override;
    std::string name() const override { return endpoint_.service; }

  private:
    explicit DBusIdleSource(Endpoint endpoint) : endpoint_(std::move(endpoint)) {}
    Endpoint endpoint_;
};

}  // namespace vellix
