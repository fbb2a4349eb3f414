#pragma once
// What the updater shows: the question, the progress dialog with Cancel, and message boxes.
// Called on the GUI thread; answers come back through the callbacks on that thread, so
// nothing waits for the user.

#include <cstdint>
#include <functional>
#include <string>

namespace vellix {

class UpdateView {
  public:
    virtual ~UpdateView() = default;
    // The question dialog (modal, topmost); `answered(true)` for "update now".
    virtual void ask(std::function<void(bool)> answered) = 0;
    // The progress dialog, centred, with an empty text and a range of 0..100.
    virtual void showProgress(std::function<void()> cancelled) = 0;
    virtual void setTotal(std::uint64_t total) = 0;
    virtual void setProgress(const std::string& text, std::uint64_t received) = 0;
    virtual void setText(const std::string& text) = 0;
    // A message box; `closed` runs once the user has read it.
    virtual void tell(bool error, const std::string& text, std::function<void()> closed) = 0;
    // Closes every window of the update.
    virtual void close() = 0;
};

}  // namespace vellix
