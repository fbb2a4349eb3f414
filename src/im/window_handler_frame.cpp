#include "im/window_handler_frame.h"

#include <algorithm>

#include "core/ascii_case.h"

namespace vellix {

std::vector<Participant> participantsOf(const std::string& key, const BuddyTable& buddies,
                                        const std::string& onlineText) {
    std::vector<Participant> participants;
    std::size_t pos = 0;
    while (pos <= key.size()) {
        const std::size_t end = std::min(key.find(',', pos), key.size());
        if (end > pos) {
            const std::string address = key.substr(pos, end - pos);
            if (auto buddy = buddies.findByEmail(address)) {
                participants.push_back({buddy->email, buddy->name, buddy->status});
            } else {
                participants.push_back({address, address, onlineText});
            }
        }
        pos = end + 1;
    }
    return participants;
}

CMainFrame_WindowHandler::CMainFrame_WindowHandler(WindowHandlerDeps deps)
    : Frame("Vellix Window Handler", deps.clock), deps_(std::move(deps)) {
}

std::string CMainFrame_WindowHandler::onlineText() const {
    return deps_.onlineText ? deps_.onlineText() : std::string();
}

void CMainFrame_WindowHandler::startConversation(std::optional<std::string> address) {
    if (!deps_.windows) return;
    if (!address || address->empty()) {
        deps_.windows->open({deps_.table.newConversationId(), {}, {}, std::nullopt});
        return;
    }
    // A group given as a list ("/im:c@x,b@x") gets the key its messages carry: sorted.
    const std::vector<Participant> given = participantsOf(*address, deps_.buddies, onlineText());
    std::vector<std::string_view> addresses;
    for (const Participant& p : given) addresses.push_back(p.address);
    const std::string key = asciiLowerCopy(joinSortedNoCase(addresses));
    if (key.empty()) return;
    const std::vector<Participant> participants = participantsOf(key, deps_.buddies, onlineText());
    deps_.table.locked([&](auto& entries) {
        const auto it = entries.find(key);
        if (it != entries.end()) {
            if (const auto* id = std::get_if<ConversationId>(&it->second)) {
                deps_.windows->raise(*id);
                return;
            }
        }
        const ConversationId id = deps_.table.newConversationId();
        entries[key] = id;
        deps_.windows->open({id, key, participants, std::nullopt});
    });
}

void CMainFrame_WindowHandler::buddiesChanged() {
    if (deps_.windows) deps_.windows->broadcast(UM_BUDDY_STATUS_CHANGED);
    if (!deps_.buddies.filled()) return;
    for (auto& address : std::exchange(waiting_, {})) startConversation(std::move(address));
}

void CMainFrame_WindowHandler::deliver(ImMessage message) {
    if (!deps_.windows) return;
    const std::string key =
        asciiLowerCopy(message.conversationKeys.empty() ? message.from : message.conversationKeys);
    ConversationStart start{0, key, participantsOf(key, deps_.buddies, onlineText()), std::nullopt};
    deps_.table.locked([&](auto& entries) {
        const auto it = entries.find(key);
        if (it != entries.end()) {
            if (const auto* id = std::get_if<ConversationId>(&it->second)) {
                deps_.windows->deliver(*id, std::move(start), std::move(message));
                return;
            }
        }
        start.id = deps_.table.newConversationId();
        entries[key] = start.id;
        start.first = std::move(message);
        deps_.windows->open(std::move(start));
    });
}

LResult CMainFrame_WindowHandler::handleMessage(Message& message) {
    switch (message.id) {
        case UM_START_CONVERSATION:
            if (deps_.buddies.filled()) {
                startConversation(message.take<std::string>());
            } else {
                waiting_.push_back(message.take<std::string>());
            }
            return 0;
        case UM_DELIVER_IM:
            if (auto m = message.take<ImMessage>()) deliver(std::move(*m));
            return 0;
        case UM_INCOMING_FILE:
            if (auto r = message.take<FileTransferRequest>(); r && deps_.incomingFile) {
                deps_.incomingFile(std::move(*r));
            }
            return 0;
        case UM_TRANSFER_RESPONSE:
            if (auto r = message.take<FileTransferResponse>()) {
                if (auto sink = deps_.table.findTransfer(transferKey(*r))) sink->response(*r);
            }
            return 0;
        case UM_TRANSFER_STATUS:
            if (auto s = message.take<FileTransferStatus>()) {
                if (auto sink = deps_.table.findTransfer(transferKey(*s))) sink->status(*s);
            }
            return 0;
        case UM_BUDDY_STATUS_CHANGED:
            buddiesChanged();
            return 0;
        case UM_OWN_STATUS_CHANGED:
            if (deps_.windows) deps_.windows->broadcast(message.id);
            return 0;
        case UM_CLOSE_CONVERSATIONS:
            if (deps_.windows) deps_.windows->closeAll();
            return 0;
        case UM_QUIT_BUDDY_WINDOW:
            quitThread();
            return 0;
        case UM_REFRESH_BUDDIES:  // here: an update is ready, start the updater
            if (deps_.updater) deps_.updater->startUpdater();
            return 0;
        case UM_CLOSE_UPDATER:
            if (deps_.updater) deps_.updater->closeUpdater();
            return 0;
        default:
            return Frame::handleMessage(message);
    }
}

}  // namespace vellix
