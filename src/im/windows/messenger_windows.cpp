#include "im/windows/messenger_windows.h"

#include <QMetaObject>

#include "core/settings_keys.h"
#include "core/sound_player.h"

namespace vellix {

MessengerWindows::MessengerWindows(MessengerContext context, QObject* parent)
    : QObject(parent), context_(std::move(context)) {
}

MessengerWindows::~MessengerWindows() {
    // Closing ends each history session and saves the placement, as the user's close does.
    for (MessengerWindow* window : windows()) {
        QPointer<MessengerWindow> held(window);
        window->close();
        delete held.data();
    }
}

template <class Fn>
void MessengerWindows::queue(Fn&& fn) {
    QMetaObject::invokeMethod(this, std::forward<Fn>(fn), Qt::QueuedConnection);
}

MessengerWindow* MessengerWindows::openNow(ConversationStart start) {
    const bool forMessage = start.first.has_value();
    auto* window = new MessengerWindow(context_, std::move(start));
    windows_[window->id()] = window;
    connect(window, &QObject::destroyed, this, [this, id = window->id()] { windows_.erase(id); });
    window->show();
    if (forMessage) playNewMessageSound(nullptr);
    Q_EMIT windowOpened(window);
    return window;
}

void MessengerWindows::playNewMessageSound(const MessengerWindow* window) {
    if (!context_.sound || (window && window->isActiveWindow())) return;
    const ProfileFile settings = context_.accountSettings.file();
    if (!readKey(settings, account::kPlaySounds)) return;
    const std::string sound = readKey(settings, account::kNewIMWaveFile);
    if (!sound.empty()) context_.sound->play(sound);
}

void MessengerWindows::open(ConversationStart start) {
    queue([this, start = std::move(start)]() mutable { openNow(std::move(start)); });
}

void MessengerWindows::raise(ConversationId id) {
    queue([this, id] {
        const auto it = windows_.find(id);
        if (it == windows_.end() || !it->second) return;
        it->second->showNormal();
        it->second->raise();
        it->second->activateWindow();
    });
}

void MessengerWindows::deliver(ConversationId id, ConversationStart reopen, ImMessage message) {
    queue([this, id, reopen = std::move(reopen), message = std::move(message)]() mutable {
        auto it = windows_.find(id);
        if (it == windows_.end() || !it->second) {
            // Closed since the table was read: the key's newer window, or a window of its
            // own, rather than a lost message.
            if (auto newer = context_.table.findConversation(reopen.key))
                it = windows_.find(*newer);
        }
        if (it == windows_.end() || !it->second) {
            reopen.id = context_.table.newConversationId();
            context_.table.enterConversation(reopen.key, reopen.id);
            reopen.first = std::move(message);
            openNow(std::move(reopen));
            return;
        }
        MessengerWindow* window = it->second;
        window->raise();
        window->showIncoming(message);
        playNewMessageSound(window);
    });
}

void MessengerWindows::broadcast(MessageId id) {
    queue([this, id] {
        for (MessengerWindow* window : windows()) {
            if (id == UM_BUDDY_STATUS_CHANGED) window->buddiesChanged();
            if (id == UM_OWN_STATUS_CHANGED) window->ownStatusChanged();
        }
    });
}

void MessengerWindows::closeAll() {
    queue([this] {
        for (MessengerWindow* window : windows()) window->close();
    });
}

std::vector<MessengerWindow*> MessengerWindows::windows() const {
    std::vector<MessengerWindow*> out;
    for (const auto& [id, window] : windows_) {
        if (window) out.push_back(window);
    }
    return out;
}

}  // namespace vellix
