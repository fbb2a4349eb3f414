#include "server/windows/credentials_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vellix {
namespace {

QString qtext(const StringTable& strings, int id) {
    return QString::fromStdString(strings.text(id));
}

}  // namespace

std::string credentialsPromptText(const StringTable& strings, AuthTarget target,
                                  const std::string& where) {
    std::string text = strings.text(target == AuthTarget::Proxy ? IDS_AUTH_PROXY : IDS_AUTH_SERVER);
    if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, where);
    return text;
}

CredentialsDialog::CredentialsDialog(const StringTable& strings, AuthTarget target,
                                     const std::string& where, QWidget* parent)
    : QDialog(parent), user_(new QLineEdit), password_(new QLineEdit) {
    setWindowTitle(qtext(strings, IDS_AUTH_TITLE));
    user_->setObjectName(QStringLiteral("user"));
    password_->setObjectName(QStringLiteral("password"));
    password_->setEchoMode(QLineEdit::Password);

    auto* prompt =
        new QLabel(QString::fromStdString(credentialsPromptText(strings, target, where)));
    prompt->setTextFormat(Qt::PlainText);  // the host name comes from the URL
    prompt->setWordWrap(true);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(qtext(strings, IDS_BUTTON_OK), QDialogButtonBox::AcceptRole)
        ->setDefault(true);
    buttons->addButton(qtext(strings, IDS_BUTTON_CANCEL), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    layout->addRow(prompt);
    layout->addRow(qtext(strings, IDS_AUTH_USER), user_);
    layout->addRow(qtext(strings, IDS_AUTH_PASSWORD), password_);
    layout->addRow(buttons);
    user_->setFocus();
}

Credentials CredentialsDialog::credentials() const {
    return {user_->text().toStdString(), password_->text().toStdString()};
}

}  // namespace vellix
