#pragma once
// Starts the self-update offer (UM_REFRESH_BUDDIES, which that frame reads as "start the updater")
// and ends it when the connection is lost (UM_CLOSE_UPDATER). Called from the window-handler
// frame's thread; the implementation moves to the GUI thread, where the dialogs live, and runs at
// most one update at a time.

namespace vellix {

class UpdaterLauncher {
  public:
    virtual ~UpdaterLauncher() = default;
    virtual void startUpdater() = 0;
    // Closes the question or the download of a running update; an installer runs on.
    virtual void closeUpdater() = 0;
};

}  // namespace vellix
