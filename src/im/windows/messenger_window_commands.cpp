// The conversation window's commands beside Send: the buttons, the window's menu and what
// each command does.
#include <QCursor>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <filesystem>

#include "core/desktop_shell.h"
#include "core/options_page_names.h"
#include "im/conversation_text.h"
#include "im/windows/messenger_window.h"
#include "platform/windows/spell_check_dialog.h"

namespace vellix {

MessengerCommandState MessengerWindow::commandState() const {
    return {.fileSending = static_cast<bool>(context_.sendFile),
            .spelling = context_.spelling != nullptr};
}

QPushButton* MessengerWindow::commandButton(MessengerCommand command, int textId) {
    auto* button = new QPushButton(QString::fromStdString(context_.strings.text(textId)), this);
    button->setEnabled(commandEnabled(command, commandState()));
    connect(button, &QPushButton::clicked, this, [this, command] { runCommand(command); });
    return button;
}

QLayout* MessengerWindow::buildCommandRow() {
    auto* row = new QHBoxLayout;
    row->addWidget(commandButton(MessengerCommand::SendFile, IDS_IM_SEND_FILE));
    row->addWidget(commandButton(MessengerCommand::EditBuddyList, IDS_IM_EDIT_BUDDIES));
    row->addWidget(commandButton(MessengerCommand::Options, IDS_IM_OPTIONS));
    auto* more = new QPushButton(QString::fromStdString(context_.strings.text(IDS_IM_MORE)), this);
    connect(more, &QPushButton::clicked, this, [this, more] { showCommandMenu(more); });
    row->addWidget(more);
    return row;
}

void MessengerWindow::showCommandMenu(QWidget* button) {
    QMenu menu(this);
    for (const MessengerMenuItem& item : messengerMenu(commandState())) {
        if (!item.command) {
            menu.addSeparator();
            continue;
        }
        QAction* action =
            menu.addAction(QString::fromStdString(context_.strings.text(item.textId)));
        action->setEnabled(item.enabled);
        connect(action, &QAction::triggered, this,
                [this, command = *item.command] { runCommand(command); });
    }
    // At the cursor when clicked; below the button when pressed from the keyboard.
    QPoint at = QCursor::pos();
    if (!button->rect().contains(button->mapFromGlobal(at))) {
        at = button->mapToGlobal(button->rect().bottomLeft());
    }
    menu.exec(at);
}

void MessengerWindow::runCommand(MessengerCommand command) {
    if (!commandEnabled(command, commandState())) return;
    switch (command) {
        case MessengerCommand::SendFile:
            return offerFile();
        case MessengerCommand::TextColor:
            return chooseColor(false);
        case MessengerCommand::BackgroundColor:
            return chooseColor(true);
        case MessengerCommand::HistoryFolder:
            return openHistoryFolder();
        case MessengerCommand::SpellCheck:
            checkSpelling(this, *context_.spelling, input_);
            QMessageBox::information(
                this, QStringLiteral("Vellix"),
                QString::fromStdString(context_.strings.text(IDS_IM_SPELLING_DONE)));
            return;
        case MessengerCommand::EditBuddyList:
            (void)showOptionsPage(context_.frames, kPageNameBuddyList);
            return;
        case MessengerCommand::Options:
            (void)showOptionsPage(context_.frames, {});
            return;
    }
}

std::vector<std::string> MessengerWindow::tickedAddresses() const {
    std::vector<std::string> addresses;
    for (int i = 0; i < recipients_->count(); ++i) {
        const QListWidgetItem* item = recipients_->item(i);
        if (item->checkState() == Qt::Checked) {
            addresses.push_back(item->data(Qt::UserRole).toString().toStdString());
        }
    }
    return addresses;
}

void MessengerWindow::offerFile() {
    const std::vector<std::string> ticked =
        choosing_ ? tickedAddresses() : std::vector<std::string>{};
    std::vector<std::string_view> addresses(ticked.begin(), ticked.end());
    if (!choosing_) {
        for (const Participant& p : participants_) addresses.push_back(p.address);
    }
    const FileRecipients to = fileRecipients(addresses, choosing_);
    if (to.list.empty()) {
        QMessageBox::information(
            this, QStringLiteral("Vellix"),
            QString::fromStdString(context_.strings.text(IDS_IM_NO_RECIPIENTS)));
        return;
    }
    context_.sendFile(to.list, to.group);
}

void MessengerWindow::openHistoryFolder() {
    const std::string folder = historyFolder(userFolder());
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (context_.shell) {
        (void)context_.shell->openUrl(
            QUrl::fromLocalFile(QString::fromStdString(folder)).toString().toStdString());
    }
}

}  // namespace vellix
