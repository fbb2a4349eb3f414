#pragma once
// The buddy window's frame. It lives on the GUI thread, where the window itself lives, and
// is not waited for at exit: it ends with the program.

#include "core/frame.h"

namespace vellix {

class BuddyWindowFrame final : public Frame {
    Q_OBJECT
  public:
    explicit BuddyWindowFrame(const Clock& clock) : Frame("Vellix", clock) {}

  protected:
    LResult handleMessage(Message& message) override {
        // The GUI thread's loop is the program's own; ending it is the exit sequence's job.
        if (message.id == UM_QUIT_BUDDY_WINDOW || message.id == UM_QUIT_THREAD) return 0;
        return Frame::handleMessage(message);
    }
};

}  // namespace vellix
