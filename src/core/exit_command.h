#pragma once
// The tray menu's exit command: quit at once, or after the user confirms.

#include "core/frame_registry.h"
#include "core/profile_file.h"

namespace vellix {

class ExitConfirmation {
  public:
    struct Answer {
        bool yes = false;
        bool dontShowAgain = false;
    };
    virtual ~ExitConfirmation() = default;
    // Shows the question with the "don't show again" box set as given.
    virtual Answer ask(bool dontShowAgain) = 0;
};

// Returns true when the quit was posted to the main frame.
bool runExitCommand(ProfileFile& ini, ExitConfirmation& dialog, const FrameRegistry& frames);

}  // namespace vellix
