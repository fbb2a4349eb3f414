#include "ui/server_page.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/messages.h"
#include "core/settings_keys.h"
#include "ui/message_boxes.h"

namespace vellix {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}
std::string bytes(const QLineEdit* edit) {
    return edit->text().toStdString();
}

QLabel* buddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

Property_ServerPage::Property_ServerPage(OptionsContext& context, QWidget* parent)
    : OptionsPage(context.text(IDS_PAGE_SERVER), parent), context_(context) {
    url_ = new QLineEdit;
    user_ = new QLineEdit;
    password_ = new QLineEdit;
    password_->setEchoMode(QLineEdit::Password);
    remember_ = new QCheckBox(context_.text(IDS_SERVER_REMEMBER));
    interval_ = new QLineEdit;
    interval_->setValidator(new QIntValidator(0, 99999, interval_));
    interval_->setMaximumWidth(interval_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) *
                               2);
    direct_ = new QRadioButton(context_.text(IDS_SERVER_DIRECT));
    proxy_ = new QRadioButton(context_.text(IDS_SERVER_PROXY));
    proxyServer_ = new QLineEdit;
    proxyPort_ = new QLineEdit;
    proxyPort_->setValidator(new QIntValidator(0, 65535, proxyPort_));
    proxyServerLabel_ = buddyLabel(context_.text(IDS_SERVER_PROXY_SERVER), proxyServer_);
    proxyPortLabel_ = buddyLabel(context_.text(IDS_SERVER_PROXY_PORT), proxyPort_);
    mailClient_ = new QLineEdit;
    auto* browse = new QPushButton(context_.text(IDS_BROWSE));

    auto* account = new QFormLayout;
    account->addRow(buddyLabel(context_.text(IDS_SERVER_URL), url_), url_);
    account->addRow(buddyLabel(context_.text(IDS_SERVER_ACCOUNT), user_), user_);
    account->addRow(buddyLabel(context_.text(IDS_SERVER_PASSWORD), password_), password_);
    account->addRow(QString(), remember_);
    account->addRow(buddyLabel(context_.text(IDS_SERVER_INTERVAL), interval_), interval_);

    auto* connection = new QGroupBox(context_.text(IDS_SERVER_CONNECTION));
    auto* proxyRow = new QHBoxLayout;
    proxyRow->addWidget(proxyServerLabel_);
    proxyRow->addWidget(proxyServer_, 1);
    proxyRow->addWidget(proxyPortLabel_);
    proxyRow->addWidget(proxyPort_);
    auto* connectionLayout = new QVBoxLayout(connection);
    connectionLayout->addWidget(direct_);
    connectionLayout->addWidget(proxy_);
    connectionLayout->addLayout(proxyRow);

    auto* mailRow = new QHBoxLayout;
    mailRow->addWidget(mailClient_, 1);
    mailRow->addWidget(browse);
    auto* mail = new QFormLayout;
    mail->addRow(buddyLabel(context_.text(IDS_SERVER_MAIL_CLIENT), mailClient_), mailRow);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(account);
    layout->addWidget(connection);
    layout->addLayout(mail);
    layout->addStretch(1);

    load();
    auto accountEdited = [this] {
        edits_.account = true;
        Q_EMIT modified();
    };
    auto connectionEdited = [this] {
        edits_.connection = true;
        Q_EMIT modified();
    };
    for (QLineEdit* edit : {url_, user_, password_}) {
        connect(edit, &QLineEdit::textEdited, this, accountEdited);
    }
    connect(remember_, &QCheckBox::toggled, this, accountEdited);
    for (QLineEdit* edit : {proxyServer_, proxyPort_}) {
        connect(edit, &QLineEdit::textEdited, this, connectionEdited);
    }
    connect(proxy_, &QRadioButton::toggled, this, [this, connectionEdited] {
        proxyToggled();
        connectionEdited();
    });
    connect(interval_, &QLineEdit::textEdited, this, &OptionsPage::modified);
    connect(mailClient_, &QLineEdit::textEdited, this, &OptionsPage::modified);
    connect(browse, &QPushButton::clicked, this, &Property_ServerPage::browseMailClient);
}

void Property_ServerPage::load() {
    const AccountSettings account = context_.account.get();
    const ProfileFile ini(context_.iniPath);
    url_->setText(qt(account.url));
    user_->setText(qt(account.user));
    password_->setText(qt(account.password));
    remember_->setChecked(account.remember);
    interval_->setText(QString::number(account::readPollInterval(context_.accountSettings.file())));
    const bool proxy = readKey(ini, ini::kConnectionType) == 1;
    (proxy ? proxy_ : direct_)->setChecked(true);
    proxyServer_->setText(qt(readKey(ini, ini::kProxyServer)));
    proxyPort_->setText(QString::number(readKey(ini, ini::kProxyPort)));
    mailClient_->setText(qt(readKey(ini, ini::kMailClient)));
    proxyToggled();
}

void Property_ServerPage::proxyToggled() {
    const bool on = proxy_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{proxyServer_, proxyPort_, proxyServerLabel_,
                                                      proxyPortLabel_}) {
        w->setEnabled(on);
    }
}

void Property_ServerPage::browseMailClient() {
    const QString path =
        QFileDialog::getOpenFileName(this, context_.text(IDS_SELECT_APPLICATION),
                                     qt(context_.programFolder), context_.text(IDS_PROGRAM_FILTER));
    if (path.isEmpty()) return;
    mailClient_->setText(path);
    Q_EMIT modified();
}

ServerForm Property_ServerPage::form() const {
    return ServerForm{
        .url = bytes(url_),
        .user = bytes(user_),
        .password = bytes(password_),
        .remember = remember_->isChecked(),
        .interval = bytes(interval_),
        .connectionType = proxy_->isChecked() ? 1 : 0,
        .proxyServer = bytes(proxyServer_),
        .proxyPort = bytes(proxyPort_),
        .mailClient = bytes(mailClient_),
    };
}

ServerCurrent Property_ServerPage::current() const {
    const AccountSettings account = context_.account.get();
    const ProfileFile ini(context_.iniPath);
    return ServerCurrent{
        .url = account.url,
        .user = account.user,
        .password = account.password,
        .loggedIn = context_.loginState().loggedIn,
        .savedAccount = !rememberedAccounts(ini).empty() && !account.url.empty(),
        .runningInterval = account::readPollInterval(context_.accountSettings.file()),
    };
}

bool Property_ServerPage::pageLeaving() {
    if (!proxyServerMissing(form())) return true;
    showError(this, context_.strings, context_.strings.text(IDS_PROXY_SERVER_MISSING));
    proxyServer_->setFocus();
    return false;
}

bool Property_ServerPage::applyPage() {
    const ServerForm typed = form();
    const ServerApplyPlan plan = planServerApply(typed, current(), edits_);
    if (plan.intervalRejected) {
        showError(this, context_.strings, context_.strings.text(IDS_INTERVAL_RANGE));
        interval_->setFocus();
        return false;
    }
    url_->setText(qt(plan.url));
    bool relogin = plan.account == AccountAction::Relogin;
    if (plan.account == AccountAction::AskThenRelogin) {
        relogin = askYesNo(this, context_.strings, context_.strings.text(IDS_ACCOUNT_CHANGED));
    }

    // Saved before the server frame is asked to log in: it reads Vellix.ini then.
    ProfileFile ini(context_.iniPath);
    std::vector<std::string> failures;
    auto keep = [&failures](const Status& status) {
        if (!status) failures.push_back(status.error());
    };
    keep(ini.writeText(ini::kMailClient.section, ini::kMailClient.name, typed.mailClient));
    if (plan.handToSession || relogin) {
        keep(ini.writeText(ini::kUrl.section, ini::kUrl.name, plan.url));
        const Result<int> slot = saveAccount(ini, typed.user, typed.password, typed.remember);
        if (!slot) failures.push_back(slot.error());
    }
    keep(ini.writeInt(ini::kConnectionType.section, ini::kConnectionType.name,
                      typed.connectionType));
    keep(ini.writeText(ini::kProxyServer.section, ini::kProxyServer.name, typed.proxyServer));
    keep(ini.writeInt(ini::kProxyPort.section, ini::kProxyPort.name, plan.proxyPort));
    if (!context_.accountSettings.path().empty()) {
        keep(context_.accountSettings.writeInt(account::kInterval.section, account::kInterval.name,
                                               plan.interval));
    }
    if (!failures.empty()) {
        showError(this, context_.strings,
                  fillIn(context_.strings.text(IDS_SETTINGS_NOT_SAVED), failures.front()));
    }

    if (plan.handToSession || relogin) {
        // The typed password serves this run even when it is not to be remembered.
        context_.account.update([&](AccountSettings& a) {
            a.url = plan.url;
            a.user = typed.user;
            a.password = typed.password;
            a.remember = typed.remember;
        });
    }
    if (relogin) {
        context_.frames.post(FrameKind::Server, UM_LOGOUT);
        context_.frames.post(FrameKind::Server, UM_RELOAD_ACCOUNT);
    } else if (plan.account == AccountAction::Login) {
        context_.frames.post(FrameKind::Server, UM_RELOAD_ACCOUNT);
    }
    if (plan.restartTimer) context_.frames.post(FrameKind::Server, UM_RESTART_TIMER);
    if (plan.restartNotice) {
        showInformation(this, context_.strings, context_.strings.text(IDS_RESTART_NOTICE));
    }
    edits_ = {};
    return true;
}

OptionsPageEntry serverPageEntry() {
    return OptionsPageEntry{
        .slot = PageSlot::Server,
        .condition = PageCondition::Always,
        .openName = std::string(kPageNameServer),
        .helpTopic = kHelpTopicServer,
        .make = [](OptionsContext& context) { return new Property_ServerPage(context); },
    };
}

}  // namespace vellix
