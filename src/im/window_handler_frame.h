#pragma once
// The window-handler frame: finds or opens the conversation and transfer windows, and
// starts the self-update when the server frame finds one available and ends it when the
// connection is lost.

#include "core/frame.h"
#include "core/updater_launcher.h"

namespace vellix {

class CMainFrame_WindowHandler final : public Frame {
    Q_OBJECT
  public:
    explicit CMainFrame_WindowHandler(const Clock& clock, UpdaterLauncher* updater = nullptr)
        : Frame("Vellix Window Handler", clock), updater_(updater) {}

  protected:
    LResult handleMessage(Message& message) override {
        switch (message.id) {
            case UM_REFRESH_BUDDIES:  // here: start the updater
                if (updater_) updater_->startUpdater();
                return 0;
            case UM_CLOSE_UPDATER:
                if (updater_) updater_->closeUpdater();
                return 0;
            default:
                return Frame::handleMessage(message);
        }
    }

  private:
    UpdaterLauncher* updater_;
};

}  // namespace vellix
