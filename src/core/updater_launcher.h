#pragma once
// Starts the self-update offer (UM_START_UPDATER). Called from the window-handler frame's
// thread; the implementation moves to the GUI thread, where the dialogs live, and runs at
// most one update at a time.

namespace vellix {

class UpdaterLauncher {
  public:
    virtual ~UpdaterLauncher() = default;
    virtual void startUpdater() = 0;
};

}  // namespace vellix
