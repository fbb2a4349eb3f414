#pragma once
// The window-handler frame: delivers the receiver's events to the window entered under
// their key in the window table, opens a conversation window for a message that has none
// and for the user once the buddy list is read,
// passes status changes on to every window, and starts or ends the self-update for the
// server frame. Runs on its own thread; the table it uses may be reached from any thread.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/frame.h"
#include "core/updater_launcher.h"
#include "im/conversation_windows.h"
#include "im/window_table.h"
#include "server/buddy_table.h"

namespace vellix {

struct WindowHandlerDeps {
    const Clock& clock;
    WindowTable& table;
    BuddyTable& buddies;
    ConversationWindows* windows = nullptr;
    // The shown word for "Online": the status of a sender who is not a buddy.
    std::function<std::string()> onlineText{};
    // A file offered to the user (UM_INCOMING_FILE); called on the frame's thread.
    std::function<void(FileTransferRequest)> incomingFile{};
    UpdaterLauncher* updater = nullptr;
};

// The participants of a conversation key ("a@x,b@x"): buddies as the table knows them,
// others under their address and the online word.
std::vector<Participant> participantsOf(const std::string& key, const BuddyTable& buddies,
                                        const std::string& onlineText);

class CMainFrame_WindowHandler final : public Frame {
    Q_OBJECT
  public:
    explicit CMainFrame_WindowHandler(WindowHandlerDeps deps);

  protected:
    LResult handleMessage(Message& message) override;

  private:
    void startConversation(std::optional<std::string> address);
    void buddiesChanged();
    void deliver(ImMessage message);
    std::string onlineText() const;

    WindowHandlerDeps deps_;
    // Conversations asked for before the buddy list was read, opened once it is, so they
    // are titled with the buddies' names rather than bare addresses.
    std::vector<std::optional<std::string>> waiting_;
};

}  // namespace vellix
