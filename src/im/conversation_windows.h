#pragma once
// The ports through which the window-handler frame reaches the windows on the GUI thread.
// Every call may come from the window-handler thread (or any other), returns at once and
// never waits for the GUI: implementations queue the work to the GUI thread.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/messages.h"
#include "im/conversation_text.h"
#include "im/im_events.h"

namespace vellix {

// A conversation window's identity, given out by the window-handler frame.
using ConversationId = std::uint64_t;

struct ConversationStart {
    ConversationId id = 0;
    // The lower-cased table key; empty while the participants are still to be chosen.
    std::string key;
    // The partner, or the group's participants (the user not included); empty when they
    // are to be chosen in the window.
    std::vector<Participant> participants;
    // Set when the window opens for an incoming message.
    std::optional<ImMessage> first;
};

class ConversationWindows {
  public:
    virtual ~ConversationWindows() = default;
    virtual void open(ConversationStart start) = 0;
    virtual void raise(ConversationId id) = 0;
    // A window that has gone in the meantime is opened again for the message, so that no
    // message is lost between a close and the table's update.
    virtual void deliver(ConversationId id, ConversationStart reopen, ImMessage message) = 0;
    // UM_BUDDY_STATUS_CHANGED or UM_OWN_STATUS_CHANGED to every open conversation window.
    virtual void broadcast(MessageId id) = 0;
    virtual void closeAll() = 0;
};

// A transfer window as the window-handler frame sees it: the receiver's events for the
// transfer entered under its key, called on the window-handler thread.
class TransferSink {
  public:
    virtual ~TransferSink() = default;
    virtual void response(const FileTransferResponse& response) = 0;
    virtual void status(const FileTransferStatus& status) = 0;
};

// A transfer window's handle in the window list.
using TransferWindowId = std::uint64_t;

}  // namespace vellix
