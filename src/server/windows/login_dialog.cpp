#include "server/windows/login_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "server/windows/login_form.h"

namespace vellix {
namespace {

QString qtext(const StringTable& strings, int id) {
    return QString::fromStdString(strings.text(id));
}

}  // namespace

LoginDialog::LoginDialog(const StringTable& strings, std::vector<RememberedAccount> accounts,
                         int selectedSlot, QWidget* parent)
    : QDialog(parent),
      accounts_(std::move(accounts)),
      account_(new QComboBox),
      password_(new QLineEdit),
      remember_(new QCheckBox(qtext(strings, IDS_LOGIN_REMEMBER))) {
    setWindowTitle(qtext(strings, IDS_LOGIN_TITLE));
    account_->setObjectName(QStringLiteral("account"));
    password_->setObjectName(QStringLiteral("password"));
    remember_->setObjectName(QStringLiteral("remember"));

    account_->setEditable(true);
    // A typed name is a new account only once the login is saved, not a list entry now.
    account_->setInsertPolicy(QComboBox::NoInsert);
    for (const auto& account : accounts_) account_->addItem(QString::fromStdString(account.user));
    password_->setEchoMode(QLineEdit::Password);

    const int index = accountIndexOfSlot(accounts_, selectedSlot);
    account_->setCurrentIndex(index);
    if (index < 0) account_->setEditText(QString());
    fillFromAccount(index);
    connect(account_, &QComboBox::currentIndexChanged, this, &LoginDialog::fillFromAccount);

    auto* buttons = new QDialogButtonBox;
    ok_ = buttons->addButton(qtext(strings, IDS_BUTTON_OK), QDialogButtonBox::AcceptRole);
    buttons->addButton(qtext(strings, IDS_BUTTON_CANCEL), QDialogButtonBox::RejectRole);
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(account_, &QComboBox::editTextChanged, this, &LoginDialog::updateOk);
    updateOk();

    layout_ = new QFormLayout(this);
    auto* layout = layout_;
    layout->addRow(qtext(strings, IDS_LOGIN_ACCOUNT), account_);
    layout->addRow(qtext(strings, IDS_LOGIN_PASSWORD), password_);
    layout->addRow(remember_);
    layout->addRow(buttons);

    // Start where the user has something to type.
    if (account_->currentText().isEmpty()) {
        account_->setFocus();
    } else {
        password_->setFocus();
    }
}

void LoginDialog::setProblem(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    layout_->insertRow(0, label);
}

std::optional<LoginAnswer> LoginDialog::answer() const {
    return loginAnswerFrom(account_->currentText().toStdString(), password_->text().toStdString(),
                           remember_->isChecked());
}

void LoginDialog::fillFromAccount(int index) {
    const LoginFill fill = loginFillFor(accounts_, index);
    password_->setText(QString::fromStdString(fill.password));
    remember_->setChecked(fill.remember);
}

void LoginDialog::updateOk() {
    ok_->setEnabled(answer().has_value());
}

}  // namespace vellix
