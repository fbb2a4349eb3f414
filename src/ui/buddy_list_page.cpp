#include "ui/buddy_list_page.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "core/settings_keys.h"
#include "core/string_table.h"
#include "im/buddy_list_form.h"
#include "ui/message_boxes.h"

namespace vellix {
namespace {

QString qText(const StringTable& strings, int id) {
    return QString::fromStdString(strings.text(id));
}

QTreeWidget* makeList(const StringTable& strings, int heading, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setHeaderLabels({qText(strings, heading), qText(strings, IDS_BUDDY_LIST_EMAIL)});
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->header()->setSectionResizeMode(QHeaderView::Stretch);
    return list;
}

void fillList(QTreeWidget* list, const std::vector<UserRecord>& entries) {
    list->clear();
    for (const auto& entry : entries) {
        new QTreeWidgetItem(
            list, {QString::fromStdString(entry.name), QString::fromStdString(entry.email)});
    }
}

// The selected rows in list order.
std::vector<std::size_t> selectedRows(const QTreeWidget* list) {
    std::vector<std::size_t> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->isSelected()) rows.push_back(static_cast<std::size_t>(i));
    }
    return rows;
}

}  // namespace

Property_AddContactPage::Property_AddContactPage(OptionsContext& context, QWidget* parent)
    : OptionsPage(context.text(IDS_BUDDY_LIST_TITLE), parent), context_(context) {
    const StringTable& strings = context_.strings;
    confirm_ = [this](const std::string& question) {
        return askYesNo(this, context_.strings, question);
    };
    left_ = makeList(strings, IDS_ALL_USERS, this);
    right_ = makeList(strings, IDS_MY_BUDDIES, this);
    showAll_ = new QCheckBox(qText(strings, IDS_BUDDY_LIST_SHOW_ALL), this);
    auto* add = new QPushButton(qText(strings, IDS_BUDDY_LIST_ADD), this);
    auto* remove = new QPushButton(qText(strings, IDS_BUDDY_LIST_REMOVE), this);
    auto* manual = new QPushButton(qText(strings, IDS_BUDDY_LIST_MANUAL), this);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    auto* lists = new QHBoxLayout;
    lists->addWidget(left_, 1);
    lists->addLayout(buttons);
    lists->addWidget(right_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(showAll_);
    bottom->addStretch(1);
    bottom->addWidget(manual);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(bottom);

    showAll_->setChecked(readKey(ProfileFile(context_.iniPath), ini::kShowBuddyList));
    if (context_.buddies) {
        for (const auto& buddy : context_.buddies->copy()) {
            buddies_.push_back({buddy.name, buddy.email});
        }
    }
    if (users().empty()) context_.frames.post(FrameKind::Server, UM_GET_USER_LIST);
    refill();

    connect(add, &QPushButton::clicked, this, &Property_AddContactPage::addSelected);
    connect(remove, &QPushButton::clicked, this, &Property_AddContactPage::removeSelected);
    connect(manual, &QPushButton::clicked, this, &Property_AddContactPage::addManually);
    connect(left_, &QTreeWidget::itemDoubleClicked, this, &Property_AddContactPage::addSelected);
    connect(right_, &QTreeWidget::itemDoubleClicked, this,
            &Property_AddContactPage::removeSelected);
    connect(showAll_, &QCheckBox::toggled, this, [this](bool on) {
        ProfileFile ini(context_.iniPath);
        // An unwritable Vellix.ini still lets the page show what was asked for.
        (void)ini.writeBool(ini::kShowBuddyList.section, ini::kShowBuddyList.name, on);
        refill();
        Q_EMIT modified();
    });
}

bool Property_AddContactPage::applyPage() {
    ProfileFile ini(context_.iniPath);
    (void)ini.writeBool(ini::kShowBuddyList.section, ini::kShowBuddyList.name,
                        showAll_->isChecked());
    if (!changed_) return true;
    context_.frames.post(FrameKind::Server, UM_SAVE_BUDDY_LIST, 0, 0,
                         makePayload(buddyListFormText(buddies_)));
    changed_ = false;
    return true;
}

void Property_AddContactPage::frameMessage(const PageMessage& message) {
    if (message.id == UM_USER_LIST_READY) refill();
}

void Property_AddContactPage::setConfirm(std::function<bool(const std::string&)> confirm) {
    confirm_ = std::move(confirm);
}

std::vector<UserRecord> Property_AddContactPage::users() const {
    return context_.users ? context_.users->copy() : std::vector<UserRecord>{};
}

void Property_AddContactPage::refill() {
    choices_ =
        showAll_->isChecked() ? usersNotListed(users(), buddies_) : std::vector<UserRecord>{};
    fillList(left_, choices_);
    fillList(right_, buddies_);
}

void Property_AddContactPage::markChanged() {
    changed_ = true;
    Q_EMIT modified();
}

void Property_AddContactPage::addSelected() {
    std::vector<UserRecord> picked;
    for (const std::size_t row : selectedRows(left_)) picked.push_back(choices_[row]);
    const std::string own = context_.session.get().account;
    if (addBuddyEntries(buddies_, picked, own) == 0) return;
    refill();
    markChanged();
}

void Property_AddContactPage::removeSelected() {
    const auto rows = selectedRows(right_);
    if (rows.empty()) return;
    if (!confirm_(context_.strings.text(IDS_BUDDY_LIST_REMOVE_QUESTION))) return;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        buddies_.erase(buddies_.begin() + static_cast<std::ptrdiff_t>(*it));
    }
    refill();
    markChanged();
}

void Property_AddContactPage::addManually() {
    const std::string own = context_.session.get().account;
    ManualBuddyDialog dialog(
        context_.strings,
        [&](const UserRecord& entry) { return addBuddyEntries(buddies_, {entry}, own) == 1; },
        this);
    if (dialog.exec() != QDialog::Accepted) return;
    refill();
    markChanged();
}

ManualBuddyDialog::ManualBuddyDialog(const StringTable& strings,
                                     std::function<bool(const UserRecord&)> accept, QWidget* parent)
    : QDialog(parent), strings_(strings), accept_(std::move(accept)) {
    setWindowTitle(qText(strings, IDS_MANUAL_TITLE));
    name_ = new QLineEdit(this);
    address_ = new QLineEdit(this);
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->hide();
    auto* form = new QFormLayout;
    form->addRow(qText(strings, IDS_MANUAL_NAME), name_);
    form->addRow(qText(strings, IDS_MANUAL_ADDRESS), address_);
    auto* box = new QDialogButtonBox(this);
    box->addButton(qText(strings, IDS_BUTTON_OK), QDialogButtonBox::AcceptRole);
    box->addButton(qText(strings, IDS_BUTTON_CANCEL), QDialogButtonBox::RejectRole);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(box);
}

UserRecord ManualBuddyDialog::entry() const {
    const std::string address = address_->text().trimmed().toStdString();
    const std::string name = name_->text().trimmed().toStdString();
    return {name.empty() ? address : name, address};
}

void ManualBuddyDialog::done(int result) {
    if (result == QDialog::Accepted) {
        const UserRecord typed = entry();
        int problem = 0;
        switch (checkManualEntry(typed.email)) {
            case EntryProblem::MissingAddress:
                problem = IDS_MANUAL_MISSING;
                break;
            case EntryProblem::MalformedAddress:
                problem = IDS_MANUAL_MALFORMED;
                break;
            case EntryProblem::None:
                if (accept_ && !accept_(typed)) problem = IDS_MANUAL_LISTED;
                break;
        }
        if (problem != 0) {
            problem_->setText(qText(strings_, problem));
            problem_->show();
            address_->setFocus();
            return;
        }
    }
    QDialog::done(result);
}

OptionsPageEntry buddyListPageEntry() {
    return OptionsPageEntry{
        .slot = PageSlot::BuddyList,
        .condition = PageCondition::LoggedInWithMessaging,
        .openName = std::string(kPageNameBuddyList),
        .helpTopic = kHelpTopicBuddyList,
        .make = [](OptionsContext& context) { return new Property_AddContactPage(context); },
    };
}

}  // namespace vellix
