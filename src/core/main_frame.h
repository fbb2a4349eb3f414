#pragma once
// The main frame: the instance's address for other processes, the end of the program on
// "/stop" or quit, the mail-to hand-over, and the idle-to-Away rule.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/activity_hooks.h"
#include "core/frame.h"
#include "core/frame_registry.h"
#include "core/guarded.h"
#include "core/session_state.h"
#include "core/single_instance.h"

namespace vellix {

// Builds the webmail link object for a mail-to text (owned by the receiver).
using MailtoLinkFactory = std::function<std::unique_ptr<Payload>(std::string_view)>;

struct MainFrameContext {
    FrameRegistry& frames;
    const Guarded<SessionState>& session;
    const std::atomic<bool>& manualStatus;
    // The localized status words sent with UM_SET_STATUS.
    std::string onlineWord;
    std::string awayWord;
    MailtoLinkFactory mailtoLink;
    // Ends the program's main loop, which starts the exit sequence.
    std::function<void()> quitProgram;
    ActivityHooks* hooks = nullptr;      // may be absent
    SingleInstance* instance = nullptr;  // listened on when present
    // Hooks that must be made on the frame's own thread (they run timers there); used
    // when hooks is not given.
    std::function<std::unique_ptr<ActivityHooks>()> makeHooks;
};

class CMainframe_Main final : public Frame {
    Q_OBJECT
  public:
    CMainframe_Main(MainFrameContext context, const Clock& clock);
    ~CMainframe_Main() override;

  protected:
    LResult handleMessage(Message& message) override;

  private:
    LResult openMailto(Message& message);
    void userActivity(WParam code);

    MainFrameContext context_;
    std::unique_ptr<ActivityHooks> ownedHooks_;
};

}  // namespace vellix
