#include "im/window_table.h"

#include <algorithm>

#include "core/ascii_case.h"

namespace vellix {

void WindowTable::enterConversation(const std::string& key, ConversationId id) {
    std::lock_guard lock(mutex_);
    entries_[asciiLowerCopy(key)] = id;
}

void WindowTable::enterTransfer(const std::string& key, std::shared_ptr<TransferSink> sink) {
    std::lock_guard lock(mutex_);
    entries_[asciiLowerCopy(key)] = std::move(sink);
}

void WindowTable::removeKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    entries_.erase(asciiLowerCopy(key));
}

void WindowTable::removeConversation(const std::string& key, ConversationId id) {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(asciiLowerCopy(key));
    if (it == entries_.end()) return;
    const auto* held = std::get_if<ConversationId>(&it->second);
    if (held && *held == id) entries_.erase(it);
}

std::optional<ConversationId> WindowTable::findConversation(const std::string& key) const {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(asciiLowerCopy(key));
    if (it == entries_.end()) return std::nullopt;
    if (const auto* id = std::get_if<ConversationId>(&it->second)) return *id;
    return std::nullopt;
}

std::shared_ptr<TransferSink> WindowTable::findTransfer(const std::string& key) const {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(asciiLowerCopy(key));
    if (it == entries_.end()) return nullptr;
    if (const auto* sink = std::get_if<std::shared_ptr<TransferSink>>(&it->second)) return *sink;
    return nullptr;
}

void WindowTable::addWindow(TransferWindowId window) {
    std::lock_guard lock(mutex_);
    if (std::find(windowList_.begin(), windowList_.end(), window) == windowList_.end()) {
        windowList_.push_back(window);
    }
}

void WindowTable::removeWindow(TransferWindowId window) {
    std::lock_guard lock(mutex_);
    std::erase(windowList_, window);
}

std::vector<TransferWindowId> WindowTable::windowList() const {
    std::lock_guard lock(mutex_);
    return windowList_;
}

}  // namespace vellix
