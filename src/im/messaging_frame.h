#pragma once
// The messaging frame: sends instant messages for the conversation windows.

#include "core/frame.h"

namespace vellix {

class CMainFrame_IMInterface final : public Frame {
    Q_OBJECT
  public:
    // Shares its title with the server frame; nothing looks it up by title.
    explicit CMainFrame_IMInterface(const Clock& clock) : Frame("Vellix ServerInterface", clock) {}
};

}  // namespace vellix
