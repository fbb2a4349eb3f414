#pragma once
// The menu frame: builds the tray menu and runs its commands.

#include "core/frame.h"

namespace vellix {

class CMainFrame_Menu final : public Frame {
    Q_OBJECT
  public:
    explicit CMainFrame_Menu(const Clock& clock) : Frame("Vellix Menu", clock) {}
};

}  // namespace vellix
