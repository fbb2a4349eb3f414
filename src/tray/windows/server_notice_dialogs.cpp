#include "tray/windows/server_notice_dialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/options_strings.h"

namespace vellix {
namespace {

QLabel* wrappedLabel(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setWordWrap(true);
    // Server text is shown as it is, never interpreted as markup or links.
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

std::string disconnectText(const StringTable& strings, const std::string& serverMessage) {
    std::string text = strings.text(IDS_DISCONNECT_TEXT);
    if (!serverMessage.empty()) text += "\n\n" + serverMessage;
    return text;
}

DisconnectDialog::DisconnectDialog(const StringTable& strings, const std::string& serverMessage,
                                   std::function<void(QWidget*)> openHelp, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("DisconnectDialog"));
    setWindowTitle(QString::fromStdString(strings.text(IDS_DISCONNECT_TITLE)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wrappedLabel(disconnectText(strings, serverMessage), this));
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QString::fromStdString(strings.text(IDS_DISCONNECT_OK)),
                                  QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromStdString(strings.text(IDS_DISCONNECT_CANCEL)),
                       QDialogButtonBox::RejectRole);
    if (openHelp) {
        buttons->addButton(QString::fromStdString(strings.text(IDS_OPTIONS_HELP)),
                           QDialogButtonBox::HelpRole);
        connect(buttons, &QDialogButtonBox::helpRequested, this,
                [this, openHelp = std::move(openHelp)] { openHelp(this); });
    }
    ok->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

AlertWindow::AlertWindow(const StringTable& strings, const std::string& text, QWidget* parent)
    : QDialog(parent), text_(text) {
    setObjectName(QStringLiteral("AlertWindow"));
    setWindowTitle(QString::fromStdString(strings.text(IDS_ALERT_TITLE)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wrappedLabel(text, this));
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QString::fromStdString(strings.text(IDS_ALERT_OK)),
                                  QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

}  // namespace vellix
