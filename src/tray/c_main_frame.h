#pragma once
// The tray frame: owner of the tray icon and its display state.

#include "core/frame.h"

namespace vellix {

class CMainFrame final : public Frame {
    Q_OBJECT
  public:
    explicit CMainFrame(const Clock& clock) : Frame("Vellix", clock) {}
};

}  // namespace vellix
