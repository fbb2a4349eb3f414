#pragma once
// A conversation's window: the running conversation above, the input below with a border
// the user drags, and in a group started from the menu the list of recipients to tick.
// GUI thread only. Sends go to the messaging frame as posts; results come back queued.

#include <QPointer>
#include <QWidget>

#include <string>
#include <vector>

#include "im/conversation_windows.h"
#include "im/history_file.h"
#include "im/messenger_commands.h"
#include "im/windows/messenger_context.h"

class QLabel;
class QLayout;
class QListWidget;
class QPushButton;
class QSplitter;
class QTextBrowser;
class QTextEdit;

namespace vellix {

struct ConversationEntry;

class MessengerWindow final : public QWidget {
    Q_OBJECT
  public:
    MessengerWindow(MessengerContext& context, ConversationStart start);
    ~MessengerWindow() override;

    ConversationId id() const { return id_; }
    // An incoming message for this conversation.
    void showIncoming(const ImMessage& message);
    void buddiesChanged();
    void ownStatusChanged();
    // The send command, as the button and the send key run it.
    void send();
    // A command of the buttons and the window's menu; a disabled one does nothing.
    void runCommand(MessengerCommand command);

    QTextEdit* input() const { return input_; }
    QTextBrowser* display() const { return display_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void build();
    QLayout* buildCommandRow();
    QPushButton* commandButton(MessengerCommand command, int textId);
    MessengerCommandState commandState() const;
    void showCommandMenu(QWidget* button);
    void offerFile();
    // The addresses ticked in the recipient list.
    std::vector<std::string> tickedAddresses() const;
    void readSettings();
    void setParticipants(std::vector<Participant> participants);
    void addEntry(const ConversationEntry& entry);
    void appendBody(const std::string& text);
    void appendLinked(const QString& text);
    void sendResult(const std::string& result);
    void updateSendState();
    void chooseColor(bool background);
    void applyColors();
    void openHistoryFolder();
    void openLink(const QUrl& url);
    void notifyDesktop(const std::string& from, const std::string& text);
    void restorePlacement();
    void savePlacement();
    bool atEnd() const;
    std::string userFolder() const;
    void scrollToEnd();

    MessengerContext& context_;
    ConversationId id_;
    std::string key_;
    std::vector<Participant> participants_;
    bool choosing_ = false;
    HistoryFile history_;
    int pendingSends_ = 0;

    // Read when the window opens.
    bool sendOnEnter_ = false;
    bool logging_ = true;
    bool autoSpellCheck_ = false;
    bool playSounds_ = true;
    std::string sentSound_;
    unsigned textColor_ = 0;
    unsigned backgroundColor_ = 0;

    QLabel* statusLabel_ = nullptr;
    QLabel* toLabel_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTextBrowser* display_ = nullptr;
    QTextEdit* input_ = nullptr;
    QPushButton* sendButton_ = nullptr;
    QListWidget* recipients_ = nullptr;
    QLabel* sendingLabel_ = nullptr;
};

}  // namespace vellix
