#pragma once
// What the engine reads from the application-wide synchronization state.

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

#include "core/ascii_case.h"

namespace vellix {

struct SyncContext {
    // Set by the user interface and polled between contacts; nullptr: never cancelled.
    const std::atomic<bool>* cancelRequested = nullptr;
    std::string folderName;  // "Public" or "Private"
    bool mayModifyGlobalContacts = false;
    // One line telling the user which contact is being processed; may be empty.
    std::function<void(std::string_view)> showStatus;

    bool IsCancelRequested() const {
        return cancelRequested && cancelRequested->load(std::memory_order_relaxed);
    }
    bool IsPublicFolder() const { return equalsNoCase(folderName, "Public"); }
};

}  // namespace vellix
