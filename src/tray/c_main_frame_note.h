#pragma once
// The note frame: the new-mail pass, the note window and the server's notices.

#include "core/frame.h"

namespace vellix {

class CMainFrame_Note final : public Frame {
    Q_OBJECT
  public:
    explicit CMainFrame_Note(const Clock& clock) : Frame("Vellix Note", clock) {}
};

}  // namespace vellix
