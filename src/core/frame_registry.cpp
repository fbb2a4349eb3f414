#include "core/frame_registry.h"

#include <QThread>

namespace vellix {

const char* frameKindName(FrameKind kind) {
    switch (kind) {
        case FrameKind::Main:
            return "main";
        case FrameKind::Tray:
            return "tray";
        case FrameKind::Menu:
            return "menu";
        case FrameKind::Note:
            return "note";
        case FrameKind::Server:
            return "server";
        case FrameKind::Messaging:
            return "messaging";
        case FrameKind::WindowHandler:
            return "window handler";
        case FrameKind::BuddyWindow:
            return "buddy window";
        case FrameKind::AddressBook:
            return "address book";
        case FrameKind::Options:
            return "options";
        case FrameKind::Count:
            break;
    }
    return "?";
}

void FrameRegistry::set(FrameKind kind, Frame* frame) {
    std::lock_guard lock(mutex_);
    slots_[static_cast<std::size_t>(kind)] = frame;
}

void FrameRegistry::setObserver(Observer observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

void FrameRegistry::observe(FrameKind kind, MessageId id) const {
    if (observer_) observer_(kind, id);
}

bool FrameRegistry::has(FrameKind kind) const {
    std::lock_guard lock(mutex_);
    return slots_[static_cast<std::size_t>(kind)] != nullptr;
}

bool FrameRegistry::post(FrameKind kind, MessageId id, WParam w, LParam l,
                         std::unique_ptr<Payload> payload) const {
    std::lock_guard lock(mutex_);
    Frame* frame = slots_[static_cast<std::size_t>(kind)];
    if (!frame) return false;
    observe(kind, id);
    frame->post(id, w, l, std::move(payload));
    return true;
}

LResult FrameRegistry::send(FrameKind kind, MessageId id, WParam w, LParam l,
                            std::unique_ptr<Payload> payload) const {
    std::unique_lock lock(mutex_);
    Frame* frame = slots_[static_cast<std::size_t>(kind)];
    if (!frame) return 0;
    observe(kind, id);
    if (QThread::currentThread() == frame->thread()) {
        // A frame is destroyed only on its own thread, which is this one; the handler may
        // itself use the registry, so the lock is released first.
        lock.unlock();
        return frame->send(id, w, l, std::move(payload));
    }
    // Queued under the lock so the frame cannot be destroyed before the message is in its
    // queue; the wait happens outside it.
    auto result = frame->enqueueSend(id, w, l, std::move(payload));
    lock.unlock();
    return Frame::waitFor(result);
}

}  // namespace vellix
