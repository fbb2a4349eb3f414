#pragma once
// The messaging frame: sends instant messages for the conversation windows, one at a time
// on its own thread, each with an internet session of its own. Windows post UM_SEND_IM
// with a SendJob and never wait; the result comes back through the job's callback, called
// on this frame's thread (the caller hops to its own thread).

#include <functional>
#include <optional>
#include <string>

#include "core/frame.h"
#include "core/guarded.h"
#include "core/session_state.h"
#include "im/send_result.h"
#include "server/internet_session.h"

namespace vellix {

struct SendJob {
    SendRequest request;
    std::function<void(std::string result)> done;
};

struct MessagingFrameDeps {
    const Clock& clock;
    Guarded<SessionState>& session;
    std::function<std::string()> serverUrl;
    std::function<ConnectionSettings()> connection;
    TransferLimits limits = kRequestLimits;
    std::function<void(const std::string&)> trace{};
};

class CMainFrame_IMInterface final : public Frame {
    Q_OBJECT
  public:
    explicit CMainFrame_IMInterface(MessagingFrameDeps deps);

    // The send operation: recipients and encoded text in, result text out (on this thread).
    std::string sendMessage(const SendRequest& request);

  protected:
    LResult handleMessage(Message& message) override;

  private:
    // One exchange on a fresh session; the reply lines joined, nothing when empty or failed.
    std::optional<std::string> exchange(const std::string& url, const std::string& body);

    MessagingFrameDeps deps_;
};

}  // namespace vellix
