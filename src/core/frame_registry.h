#pragma once
// One slot per frame kind: how any thread finds the frame to talk to. Senders go through
// the registry so that a frame being torn down is never reached.

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>

#include "core/frame.h"

namespace vellix {

enum class FrameKind : std::size_t {
    Main,
    Tray,
    Menu,
    Note,
    Server,
    Messaging,
    WindowHandler,
    BuddyWindow,
    AddressBook,
    Options,
    Count
};

const char* frameKindName(FrameKind kind);

class FrameRegistry {
  public:
    // Stores a frame in its slot (nullptr clears it). A frame clears its slot before it is
    // destroyed.
    void set(FrameKind kind, Frame* frame);
    bool has(FrameKind kind) const;

    // False when the slot is empty: the message is dropped (its payload freed).
    bool post(FrameKind kind, MessageId id, WParam w = 0, LParam l = 0,
              std::unique_ptr<Payload> payload = nullptr) const;
    // 0 when the slot is empty or the frame ends before answering.
    LResult send(FrameKind kind, MessageId id, WParam w = 0, LParam l = 0,
                 std::unique_ptr<Payload> payload = nullptr) const;

    // Watches every post and send that reaches a frame (diagnostics and end-to-end tests).
    using Observer = std::function<void(FrameKind, MessageId)>;
    void setObserver(Observer observer);

  private:
    void observe(FrameKind kind, MessageId id) const;

    Observer observer_;
    mutable std::mutex mutex_;
    std::array<Frame*, static_cast<std::size_t>(FrameKind::Count)> slots_{};
};

}  // namespace vellix
