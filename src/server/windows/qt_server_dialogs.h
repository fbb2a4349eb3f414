#pragma once
// The server frame's dialogs and the HTTP sessions' credentials prompt, shown on the GUI
// thread. Every method may be called from any thread: askLogin and ask wait for the user
// (from a worker, the GUI thread shows the dialog meanwhile); showError and closeError are
// queued in call order and return at once.

#include <QObject>
#include <QPointer>
#include <optional>
#include <string>
#include <vector>

#include "core/string_table.h"
#include "server/internet_session.h"
#include "server/server_dialogs.h"

class QDialog;

namespace vellix {

class ErrorWindow;

class QtServerDialogs final : public QObject, public ServerDialogs, public CredentialsPrompt {
    Q_OBJECT
  public:
    // Made and destroyed on the GUI thread; `strings` must outlive it. Destroying it closes
    // its windows, and a worker waiting for an answer gets nothing.
    explicit QtServerDialogs(const StringTable& strings, QObject* parent = nullptr);
    ~QtServerDialogs() override;

    std::optional<LoginAnswer> askLogin(const std::vector<RememberedAccount>& accounts,
                                        int selectedSlot) override;
    void showError(const std::string& text) override;
    void closeError() override;

    std::optional<Credentials> ask(AuthTarget target, const std::string& where) override;

  private:
    template <class Answer, class Show>
    std::optional<Answer> onGuiThread(Show show);
    template <class Dialog, class Read>
    auto runModal(Dialog& dialog, Read read) -> std::optional<decltype(read(dialog))>;
    void openError(const QString& text);

    const StringTable& strings_;
    QPointer<ErrorWindow> error_;
    std::vector<QDialog*> modal_;  // open modal dialogs, rejected when this goes
};

}  // namespace vellix
