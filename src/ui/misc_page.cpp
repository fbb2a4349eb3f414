#include "ui/misc_page.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

#include "core/messages.h"
#include "platform/windows/spelling_options_dialog.h"
#include "platform/windows/user_dictionary_dialog.h"
#include "tray/default_mail_client.h"
#include "ui/icon_button.h"
#include "ui/message_boxes.h"

namespace vellix {
namespace {

constexpr int kLargestCount = 9999;

QSpinBox* countBox() {
    auto* box = new QSpinBox;
    box->setRange(0, kLargestCount);
    return box;
}

}  // namespace

Property_MiscPage::Property_MiscPage(OptionsContext& context, QWidget* parent)
    : OptionsPage(context.text(IDS_PAGE_MISC), parent), context_(context) {
    const bool messaging = context_.loginState().messaging;
    auto* checks = new QGridLayout;
    int row = 0;
    for (const auto& k : miscFlagKeys()) {
        auto* check = new QCheckBox(context_.text(k.label));
        check->setEnabled(messaging || !k.needsMessaging);
        checks_[static_cast<std::size_t>(k.flag)] = check;
        checks->addWidget(check, row / 2, row % 2);
        ++row;
        connect(check, &QCheckBox::toggled, this, &OptionsPage::modified);
    }
    autoOffline_ = countBox();
    autoOffline_->setEnabled(messaging);
    folderInMenu_ = countBox();
    auto* counts = new QFormLayout;
    auto* autoOfflineLabel = new QLabel(context_.text(IDS_MISC_AUTO_OFFLINE));
    autoOfflineLabel->setBuddy(autoOffline_);
    autoOfflineLabel->setWordWrap(true);
    auto* folderLabel = new QLabel(context_.text(IDS_MISC_FOLDER_IN_MENU));
    folderLabel->setBuddy(folderInMenu_);
    folderLabel->setWordWrap(true);
    counts->addRow(autoOfflineLabel, autoOffline_);
    counts->addRow(folderLabel, folderInMenu_);
    for (QSpinBox* box : {autoOffline_, folderInMenu_}) {
        connect(box, &QSpinBox::valueChanged, this, &OptionsPage::modified);
    }

    const QIcon spellIcon = QIcon::fromTheme(QStringLiteral("tools-check-spelling"));
    spellOptions_ = new IconButton(spellIcon, context_.text(IDS_MISC_SPELL_OPTIONS));
    dictionary_ = new IconButton(QIcon::fromTheme(QStringLiteral("accessories-dictionary")),
                                 context_.text(IDS_MISC_DICTIONARY));
    makeDefault_ = new IconButton(QIcon::fromTheme(QStringLiteral("mail-message-new")),
                                  context_.text(IDS_MISC_MAKE_DEFAULT));
    const bool spelling = messaging && context_.spelling;
    spellOptions_->setEnabled(spelling);
    dictionary_->setEnabled(spelling);
    defaultStatus_ = new QLabel;
    defaultStatus_->setWordWrap(true);
    connect(spellOptions_, &QPushButton::clicked, this, [this] {
        if (context_.spelling) showSpellingOptions(this, *context_.spelling);
    });
    connect(dictionary_, &QPushButton::clicked, this, [this] {
        if (context_.spelling) editUserDictionary(this, *context_.spelling);
    });
    connect(makeDefault_, &QPushButton::clicked, this, &Property_MiscPage::makeDefaultMail);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(spellOptions_);
    buttons->addWidget(dictionary_);
    buttons->addStretch(1);
    auto* mail = new QHBoxLayout;
    mail->addWidget(makeDefault_);
    mail->addWidget(defaultStatus_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(checks);
    layout->addLayout(counts);
    layout->addLayout(buttons);
    layout->addLayout(mail);
    layout->addStretch(1);
    load();
}

void Property_MiscPage::load() {
    const MiscSettings settings =
        readMiscSettings(ProfileFile(context_.iniPath), context_.accountSettings.file());
    const QSignalBlocker blockThis(this);
    for (const auto& k : miscFlagKeys()) {
        QCheckBox* check = checks_[static_cast<std::size_t>(k.flag)];
        const QSignalBlocker block(check);
        check->setChecked(settings[k.flag]);
    }
    const QSignalBlocker blockA(autoOffline_);
    const QSignalBlocker blockF(folderInMenu_);
    autoOffline_->setValue(settings.autoOffline);
    folderInMenu_->setValue(settings.folderInMenu);
    loadedAutoOffline_ = settings.autoOffline;
}

void Property_MiscPage::pageShown() {
    if (!context_.loginState().loggedIn) {
        Q_EMIT closeRequested();
        return;
    }
    load();
    refreshDefaultMail();
}

void Property_MiscPage::refreshDefaultMail() {
    // Asked each time the page shows, without waiting: only the latest answer is shown.
    const int asked = ++defaultMailAsked_;
    const ToolRunner runner;
    DefaultMailClient(runner, context_.executablePath)
        .askIsDefault(this, [this, asked](const Result<bool>& isDefault) {
            if (asked == defaultMailAsked_) showDefaultMail(isDefault);
        });
}

void Property_MiscPage::showDefaultMail(const Result<bool>& isDefault) {
    const StringTable& strings = context_.strings;
    const std::string text = !isDefault
                                 ? fillIn(strings.text(IDS_MISC_DEFAULT_UNKNOWN), isDefault.error())
                             : *isDefault ? strings.text(IDS_MISC_IS_DEFAULT)
                                          : strings.text(IDS_MISC_NOT_DEFAULT);
    defaultStatus_->setText(QString::fromStdString(text));
    // Already the handler: nothing to make.
    makeDefault_->setEnabled(!isDefault || !*isDefault);
}

void Property_MiscPage::makeDefaultMail() {
    const ToolRunner runner;
    DefaultMailClient(runner, context_.executablePath)
        .askMakeDefault(this, [this](const Status& made) {
            if (!made) {
                showError(this, context_.strings,
                          fillIn(context_.strings.text(IDS_DESKTOP_ACTION_FAILED), made.error()));
            }
            refreshDefaultMail();
        });
}

bool Property_MiscPage::applyPage() {
    MiscSettings settings;
    for (const auto& k : miscFlagKeys()) {
        settings[k.flag] = checks_[static_cast<std::size_t>(k.flag)]->isChecked();
    }
    settings.autoOffline = autoOffline_->value();
    settings.folderInMenu = folderInMenu_->value();
    ProfileFile ini(context_.iniPath);
    ProfileFile account = context_.accountSettings.file();
    if (const Status written = writeMiscSettings(settings, ini, account); !written) {
        showError(this, context_.strings,
                  fillIn(context_.strings.text(IDS_SETTINGS_NOT_SAVED), written.error()));
    }
    if (settings.autoOffline != loadedAutoOffline_) {
        context_.frames.post(FrameKind::Main, UM_INSTALL_HOOKS,
                             static_cast<WParam>(settings.autoOffline));
        loadedAutoOffline_ = settings.autoOffline;
    }
    context_.frames.post(FrameKind::BuddyWindow, UM_TOPMOST_CHANGED);
    return true;
}

OptionsPageEntry miscPageEntry() {
    return OptionsPageEntry{
        .slot = PageSlot::Misc,
        .condition = PageCondition::LoggedIn,
        .openName = {},
        .helpTopic = kHelpTopicMisc,
        .make = [](OptionsContext& context) { return new Property_MiscPage(context); },
    };
}

}  // namespace vellix
