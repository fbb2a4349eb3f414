#pragma once
// The server frame: holds the session with the server and does all its requests.

#include <functional>

#include "core/frame.h"

namespace vellix {

class CMainFrame_ServerInterface final : public Frame {
    Q_OBJECT
  public:
    // dropUserSettings removes the account's downloaded settings when the frame ends.
    CMainFrame_ServerInterface(const Clock& clock, std::function<void()> dropUserSettings);

  protected:
    LResult handleMessage(Message& message) override;

  private:
    std::function<void()> dropUserSettings_;
};

}  // namespace vellix
