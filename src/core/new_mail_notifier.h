#pragma once
// A desktop notification about new mail, beside the note window: a summary, a body and at
// most one action. The implementation decides whether the desktop can offer the action.

#include <functional>
#include <string>

namespace vellix {

struct NewMailNotice {
    std::string summary;
    std::string body;
    std::string actionLabel;
    // Called when the user picks the action; on the notifier's thread.
    std::function<void()> onAction;
};

class NewMailNotifier {
  public:
    virtual ~NewMailNotifier() = default;
    // Replaces the previous notice of this notifier, if still shown. Silent on failure.
    virtual void notify(NewMailNotice notice) = 0;
};

}  // namespace vellix
