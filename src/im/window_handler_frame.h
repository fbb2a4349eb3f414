#pragma once
// The window-handler frame: finds or opens the conversation and transfer windows.

#include "core/frame.h"

namespace vellix {

class CMainFrame_WindowHandler final : public Frame {
    Q_OBJECT
  public:
    explicit CMainFrame_WindowHandler(const Clock& clock) : Frame("Vellix Window Handler", clock) {}
};

}  // namespace vellix
