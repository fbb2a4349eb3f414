#pragma once
// The window-handler's table: conversation and transfer keys (lower-cased) to their
// windows, and the list of transfer windows, under one lock. Outlives every frame and
// window; every call may come from any thread.

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "im/conversation_windows.h"

namespace vellix {

class WindowTable {
  public:
    using Entry = std::variant<ConversationId, std::shared_ptr<TransferSink>>;

    void enterConversation(const std::string& key, ConversationId id);
    void enterTransfer(const std::string& key, std::shared_ptr<TransferSink> sink);
    void removeKey(const std::string& key);
    // Removes the key only while it still leads to this conversation: a closing window
    // must not remove the entry of a newer window under the same key.
    void removeConversation(const std::string& key, ConversationId id);
    std::optional<ConversationId> findConversation(const std::string& key) const;
    std::shared_ptr<TransferSink> findTransfer(const std::string& key) const;

    // The window list of transfer windows, without duplicates.
    void addWindow(TransferWindowId window);
    void removeWindow(TransferWindowId window);
    std::vector<TransferWindowId> windowList() const;

    // Runs fn(entries) under the lock, for an operation that must hold it throughout.
    template <class Fn>
    auto locked(Fn&& fn) {
        std::lock_guard lock(mutex_);
        return std::forward<Fn>(fn)(entries_);
    }
    // Lock-free, so that it may be called inside locked().
    ConversationId newConversationId() { return nextId_++; }

  private:
    mutable std::mutex mutex_;
    std::map<std::string, Entry> entries_;
    std::vector<TransferWindowId> windowList_;
    std::atomic<ConversationId> nextId_{1};
};

}  // namespace vellix
