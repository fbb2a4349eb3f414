#pragma once
// The conversation windows of the program, one per conversation, on the GUI thread. The
// window-handler frame reaches them through the ConversationWindows port; every call is
// queued to this object's thread and returns at once.

#include <QObject>
#include <QPointer>

#include <map>

#include "im/conversation_windows.h"
#include "im/windows/messenger_context.h"
#include "im/windows/messenger_window.h"

namespace vellix {

class MessengerWindows final : public QObject, public ConversationWindows {
    Q_OBJECT
  public:
    explicit MessengerWindows(MessengerContext context, QObject* parent = nullptr);
    ~MessengerWindows() override;

    void open(ConversationStart start) override;
    void raise(ConversationId id) override;
    void deliver(ConversationId id, ConversationStart reopen, ImMessage message) override;
    void broadcast(MessageId id) override;
    void closeAll() override;

    // GUI thread: the open windows, for tests and figures.
    std::vector<MessengerWindow*> windows() const;
    MessengerContext& context() { return context_; }

  Q_SIGNALS:
    // A window opened (GUI thread), after it is shown.
    void windowOpened(vellix::MessengerWindow* window);

  private:
    template <class Fn>
    void queue(Fn&& fn);
    MessengerWindow* openNow(ConversationStart start);
    void playNewMessageSound(const MessengerWindow* window);

    MessengerContext context_;
    std::map<ConversationId, QPointer<MessengerWindow>> windows_;
};

}  // namespace vellix
