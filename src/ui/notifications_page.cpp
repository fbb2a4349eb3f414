#include "ui/notifications_page.h"

#include <QBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "core/messages.h"
#include "core/settings_keys.h"
#include "tray/notification_rules.h"
#include "ui/message_boxes.h"

namespace vellix {
namespace {

constexpr std::array kRuleTexts{IDS_RULE_BLINK, IDS_RULE_SOUND,   IDS_RULE_NOTICE,
                                IDS_RULE_OPEN,  IDS_RULE_IN_MENU, IDS_RULE_IN_WINDOW};
static_assert(kRuleTexts.size() == kFolderRuleCount);

Qt::CheckState checkOf(std::int32_t rule) {
    if (rule == kRuleOn) return Qt::Checked;
    if (rule == kRuleUseDefault) return Qt::PartiallyChecked;
    return Qt::Unchecked;
}

std::int32_t ruleOf(Qt::CheckState state) {
    if (state == Qt::Checked) return kRuleOn;
    if (state == Qt::PartiallyChecked) return kRuleUseDefault;
    return kRuleOff;
}

}  // namespace

Property_NotificationsPage::Property_NotificationsPage(OptionsContext& context, QWidget* parent)
    : OptionsPage(context.text(IDS_PAGE_NOTIFICATIONS), parent), context_(context) {
    folders_ = new QTreeWidget;
    folders_->setHeaderLabels({context_.text(IDS_NOTIFY_FOLDERS)});
    folders_->setRootIsDecorated(false);
    folders_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rules_ = new QListWidget;
    for (int id : kRuleTexts) {
        auto* item = new QListWidgetItem(context_.text(id), rules_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    // Every rule reads whole at any scale: the list is as wide as its longest line.
    rules_->setMinimumWidth(rules_->sizeHintForColumn(0) + 2 * rules_->frameWidth());
    auto* rulesLabel = new QLabel(context_.text(IDS_NOTIFY_RULES));
    rulesLabel->setBuddy(rules_);
    auto* reset = new QPushButton(context_.text(IDS_NOTIFY_RESET));
    connect(reset, &QPushButton::clicked, this, &Property_NotificationsPage::resetAll);
    connect(folders_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* now, QTreeWidgetItem*) {
                storeLine(selected_);
                selected_ = now ? folders_->indexOfTopLevelItem(now) : -1;
                showLine(selected_);
            });
    connect(rules_, &QListWidget::itemChanged, this, [this] {
        changed_ = true;
        Q_EMIT modified();
    });

    auto* right = new QVBoxLayout;
    right->addWidget(rulesLabel);
    right->addWidget(rules_, 1);
    right->addWidget(reset, 0, Qt::AlignLeft);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(folders_, 1);
    layout->addLayout(right, 1);
}

void Property_NotificationsPage::pageShown() {
    if (!context_.loginState().loggedIn) {
        Q_EMIT closeRequested();
        return;
    }
    rebuild();
}

void Property_NotificationsPage::rebuild() {
    const QSignalBlocker block(folders_);
    folders_->clear();
    selected_ = -1;
    copies_ = context_.folders.copyFolders();
    new QTreeWidgetItem(folders_, {context_.text(IDS_NOTIFY_DEFAULTS)});
    for (const FolderStatus& folder : copies_) {
        new QTreeWidgetItem(folders_, {QString::fromStdString(folder.displayName)});
    }
    folders_->setCurrentItem(folders_->topLevelItem(0));
    selected_ = 0;
    showLine(0);
}

void Property_NotificationsPage::showLine(int line) {
    const QSignalBlocker block(rules_);
    for (int r = 0; r < static_cast<int>(kFolderRuleCount); ++r) {
        QListWidgetItem* item = rules_->item(r);
        const auto rule = static_cast<std::size_t>(r);
        if (line == 0) {
            item->setFlags(item->flags() & ~Qt::ItemIsUserTristate);
            item->setCheckState(context_.notifications.defaults[rule] ? Qt::Checked
                                                                      : Qt::Unchecked);
        } else if (line > 0) {
            item->setFlags(item->flags() | Qt::ItemIsUserTristate);
            item->setCheckState(checkOf(copies_[static_cast<std::size_t>(line - 1)].rules[rule]));
        }
    }
    rules_->setEnabled(line >= 0);
}

void Property_NotificationsPage::storeLine(int line) {
    if (line < 0) return;
    for (int r = 0; r < static_cast<int>(kFolderRuleCount); ++r) {
        const Qt::CheckState state = rules_->item(r)->checkState();
        const auto rule = static_cast<std::size_t>(r);
        if (line == 0) {
            context_.notifications.defaults[rule] = state == Qt::Checked;
        } else {
            copies_[static_cast<std::size_t>(line - 1)].rules[rule] = ruleOf(state);
        }
    }
}

void Property_NotificationsPage::resetAll() {
    if (!askYesNo(this, context_.strings, context_.strings.text(IDS_NOTIFY_RESET_QUESTION))) return;
    if (selected_ != 0) folders_->setCurrentItem(folders_->topLevelItem(0));
    for (FolderStatus& folder : copies_) folder.rules.fill(kRuleUseDefault);
    changed_ = true;
    Q_EMIT modified();
}

bool Property_NotificationsPage::pageLeaving() {
    storeLine(selected_);
    context_.folders.applyRules(copies_);
    ProfileFile file = context_.accountSettings.file();
    const std::string tip = readKey(file, account::kTipFolder);
    if (const Status saved = saveRules(file, tip, context_.notifications, context_.folders);
        !saved) {
        showError(this, context_.strings,
                  fillIn(context_.strings.text(IDS_SETTINGS_NOT_SAVED), saved.error()));
    }
    return true;
}

bool Property_NotificationsPage::applyPage() {
    if (!changed_) return true;
    // A fresh login and check shows the new rules at once.
    context_.frames.post(FrameKind::Server, UM_RELOGIN, 1);
    changed_ = false;
    return true;
}

OptionsPageEntry notificationsPageEntry() {
    return OptionsPageEntry{
        .slot = PageSlot::Notifications,
        .condition = PageCondition::LoggedIn,
        .openName = std::string(kPageNameNotifications),
        .helpTopic = kHelpTopicNotifications,
        .make = [](OptionsContext& context) { return new Property_NotificationsPage(context); },
    };
}

}  // namespace vellix
