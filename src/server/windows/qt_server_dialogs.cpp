#include "server/windows/qt_server_dialogs.h"

#include <QThread>
#include <algorithm>

#include "server/windows/credentials_dialog.h"
#include "server/windows/error_window.h"
#include "server/windows/login_dialog.h"

namespace vellix {

QtServerDialogs::QtServerDialogs(const StringTable& strings, QObject* parent)
    : QObject(parent), strings_(strings) {
}

QtServerDialogs::~QtServerDialogs() {
    // A dialog still in its event loop returns as cancelled; its caller must not touch us
    // afterwards (it checks a guard). Queued calls to us are dropped by QObject, which
    // wakes a worker blocked on one.
    for (QDialog* dialog : std::vector(modal_)) dialog->reject();
    delete error_.data();
}

template <class Answer, class Show>
std::optional<Answer> QtServerDialogs::onGuiThread(Show show) {
    std::optional<Answer> answer;
    auto run = [&answer, &show, self = QPointer(this)] {
        if (self) answer = show(*self);
    };
    if (QThread::currentThread() == thread()) {
        run();
    } else {
        QMetaObject::invokeMethod(this, run, Qt::BlockingQueuedConnection);
    }
    return answer;
}

template <class Dialog, class Read>
auto QtServerDialogs::runModal(Dialog& dialog, Read read) -> std::optional<decltype(read(dialog))> {
    QPointer self(this);
    modal_.push_back(&dialog);
    // Modal for its caller, which waits, but without an owner it blocks no other window:
    // conversations and the error window stay usable while the dialog is open.
    dialog.setWindowModality(Qt::WindowModal);
    dialog.raise();
    dialog.activateWindow();
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (!self) return std::nullopt;
    std::erase(modal_, &dialog);
    if (!accepted) return std::nullopt;
    return read(dialog);
}

std::optional<LoginAnswer> QtServerDialogs::askLogin(const std::vector<RememberedAccount>& accounts,
                                                     int selectedSlot) {
    return onGuiThread<LoginAnswer>([&](QtServerDialogs& self) -> std::optional<LoginAnswer> {
        LoginDialog dialog(self.strings_, accounts, selectedSlot);
        // A refused password's error would open behind the dialog: it moves into it.
        if (self.error_ && self.error_->isVisible()) {
            dialog.setProblem(self.error_->text());
            self.error_->reject();
        }
        return self.runModal(dialog, [](const LoginDialog& d) { return d.answer(); })
            .value_or(std::nullopt);
    });
}

std::optional<Credentials> QtServerDialogs::ask(AuthTarget target, const std::string& where) {
    return onGuiThread<Credentials>([&](QtServerDialogs& self) {
        CredentialsDialog dialog(self.strings_, target, where);
        return self.runModal(dialog, [](const CredentialsDialog& d) { return d.credentials(); });
    });
}

void QtServerDialogs::showError(const std::string& text) {
    QMetaObject::invokeMethod(
        this, [this, text = QString::fromStdString(text)] { openError(text); },
        Qt::QueuedConnection);
}

void QtServerDialogs::closeError() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (error_) error_->reject();
        },
        Qt::QueuedConnection);
}

void QtServerDialogs::openError(const QString& text) {
    // One at a time: a closed window may still wait for its deferred deletion.
    if (error_ && error_->isVisible()) return;
    error_ = new ErrorWindow(strings_, text);
    error_->show();
    error_->raise();
    error_->activateWindow();
}

}  // namespace vellix
