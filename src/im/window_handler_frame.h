#pragma once
// The window-handler frame: finds or opens the conversation and transfer windows, and
// starts the self-update when the server frame finds one available.

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
        if (message.id == UM_START_UPDATER) {
            if (updater_) updater_->startUpdater();
            return 0;
        }
        return Frame::handleMessage(message);
    }

  private:
    UpdaterLauncher* updater_;
};

}  // namespace vellix
