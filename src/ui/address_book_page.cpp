#include "ui/address_book_page.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>

#include "core/ascii_case.h"
#include "core/contact_folders_file.h"
#include "core/settings_paths.h"
#include "sync/address_book_frame.h"
#include "ui/address_book_rules.h"
#include "ui/message_boxes.h"

namespace vellix {
namespace {

constexpr int kMaxIntervalMinutes = 24 * 60;
constexpr int kMaxListWidth = 400;

std::string selectedText(const QComboBox* list) {
    return list->currentIndex() < 0 ? std::string() : list->currentText().toStdString();
}

void fillList(QComboBox* list, const std::vector<std::string>& names, int selected) {
    list->clear();
    for (std::size_t i = 0; i < names.size(); ++i) {
        list->addItem(QString::fromStdString(names[i]), static_cast<int>(i));
    }
    list->setCurrentIndex(selected);
    // The drop-down is as wide as the longest name, within reason.
    const int wanted = list->view()->sizeHintForColumn(0) + 24;
    list->view()->setMinimumWidth(std::min(wanted, kMaxListWidth));
}

}  // namespace

Property_AddressBookPage::Property_AddressBookPage(OptionsContext& context, QWidget* parent)
    : OptionsPage(context.text(IDS_PAGE_ADDRESS_BOOK), parent), context_(context) {
    confirm_ = [this](const std::string& question) {
        return askYesNo(this, context_.strings, question);
    };
    enable_ = new QCheckBox(context_.text(IDS_AB_ENABLE), this);
    interval_ = new QSpinBox(this);
    interval_->setRange(1, kMaxIntervalMinutes);
    store_ = new QComboBox(this);
    for (const auto& choice : kContactStoreChoices) store_->addItem(context_.text(choice.textId));
    rootRow_ = new QWidget(this);
    root_ = new QLineEdit(rootRow_);
    const std::string dataRoot = dataHome(processEnvironment());
    if (!dataRoot.empty()) {
        root_->setPlaceholderText(QString::fromStdString(dataRoot + "/contacts"));
    }
    auto* browse = new QPushButton(context_.text(IDS_BROWSE), rootRow_);
    auto* rootLayout = new QHBoxLayout(rootRow_);
    rootLayout->setContentsMargins(0, 0, 0, 0);
    rootLayout->addWidget(root_, 1);
    rootLayout->addWidget(browse);
    publicOn_ = new QCheckBox(context_.text(IDS_AB_PUBLIC), this);
    privateOn_ = new QCheckBox(context_.text(IDS_AB_PRIVATE), this);
    public_ = new QComboBox(this);
    private_ = new QComboBox(this);
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00020"));
    problem_->hide();
    syncNow_ = new QPushButton(context_.text(IDS_AB_SYNC_NOW), this);
    cancel_ = new QPushButton(context_.text(IDS_AB_CANCEL), this);
    busy_ = new QProgressBar(this);
    busy_->setRange(0, 0);  // moves while a run works
    busy_->setMaximumWidth(120);
    busy_->setTextVisible(false);
    runningText_ = new QLabel(context_.text(IDS_AB_RUNNING), this);
    progress_ = new QLabel(this);
    progress_->setWordWrap(true);
    progress_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    fields_ = new QFormLayout;
    auto* fields = fields_;
    fields->addRow(context_.text(IDS_AB_INTERVAL), interval_);
    fields->addRow(context_.text(IDS_AB_STORE), store_);
    fields->addRow(context_.text(IDS_AB_VCARD_ROOT), rootRow_);
    auto* folders = new QGridLayout;
    folders->addWidget(publicOn_, 0, 0);
    folders->addWidget(public_, 0, 1);
    folders->addWidget(privateOn_, 1, 0);
    folders->addWidget(private_, 1, 1);
    folders->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(syncNow_);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    buttons->addWidget(busy_);
    buttons->addWidget(runningText_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(enable_);
    layout->addLayout(fields);
    layout->addLayout(folders);
    layout->addWidget(problem_);
    layout->addLayout(buttons);
    layout->addWidget(progress_);
    layout->addStretch(1);

    load();

    const auto changed = [this] {
        if (!filling_) Q_EMIT modified();
    };
    connect(enable_, &QCheckBox::toggled, this, [this, changed](bool on) {
        if (filling_) return;
        enableToggled(on);
        changed();
    });
    connect(interval_, &QSpinBox::valueChanged, this, changed);
    connect(store_, &QComboBox::currentIndexChanged, this, [this, changed] {
        if (filling_) return;
        fillFolders();
        changed();
    });
    connect(root_, &QLineEdit::editingFinished, this, [this, changed] {
        if (filling_ || root_->text().trimmed().toStdString() == filledRoot_) return;
        fillFolders();
        changed();
    });
    connect(root_, &QLineEdit::textEdited, this, changed);
    connect(browse, &QPushButton::clicked, this, [this, changed] {
        const QString chosen = QFileDialog::getExistingDirectory(
            this, context_.text(IDS_AB_CHOOSE_ROOT),
            root_->text().isEmpty() ? root_->placeholderText() : root_->text());
        if (chosen.isEmpty()) return;
        root_->setText(chosen);
        fillFolders();
        changed();
    });
    for (QCheckBox* box : {publicOn_, privateOn_}) {
        connect(box, &QCheckBox::toggled, this, [this, changed] {
            updateEnabled();
            changed();
        });
    }
    for (QComboBox* list : {public_, private_}) {
        connect(list, &QComboBox::currentIndexChanged, this, changed);
    }
    connect(syncNow_, &QPushButton::clicked, this, &Property_AddressBookPage::synchronizeNow);
    connect(cancel_, &QPushButton::clicked, this, &Property_AddressBookPage::cancelRun);
}

std::string Property_AddressBookPage::userFolder() const {
    return userFolderPath(context_.dataFolder, context_.session.get().account)
        .valueOr(std::string());
}

ContactsSettings Property_AddressBookPage::form() const {
    ContactsSettings s = loaded_;
    s.enableSync = enable_->isChecked();
    s.intervalMinutes = interval_->value();
    s.synchWith = kContactStoreChoices[static_cast<std::size_t>(store_->currentIndex())].value;
    s.vcardFolders = root_->text().trimmed().toStdString();
    s.syncPublic = publicOn_->isChecked();
    s.syncPrivate = privateOn_->isChecked();
    s.publicFolder = selectedText(public_);
    s.privateFolder = selectedText(private_);
    return s;
}

void Property_AddressBookPage::load() {
    const std::string folder = userFolder();
    loaded_ = folder.empty() ? ContactsSettings{}
                             : ContactsSettings::read(ProfileFile(folder + kContactsIniName));
    filling_ = true;
    enable_->setChecked(loaded_.enableSync);
    interval_->setValue(loaded_.intervalMinutes < 1 ? 30 : loaded_.intervalMinutes);
    store_->setCurrentIndex(static_cast<int>(contactStoreIndex(loaded_.synchWith)));
    root_->setText(QString::fromStdString(loaded_.vcardFolders));
    publicOn_->setChecked(loaded_.syncPublic);
    privateOn_->setChecked(loaded_.syncPrivate);
    filling_ = false;
    running_ = false;
    showRunning(context_.contactSync && context_.contactSync->running);
    fillFolders();
}

void Property_AddressBookPage::showConfiguredFolders() {
    const auto only = [](const std::string& name) {
        return name.empty() ? std::vector<std::string>{} : std::vector<std::string>{name};
    };
    fillList(public_, only(loaded_.publicFolder), loaded_.publicFolder.empty() ? -1 : 0);
    fillList(private_, only(loaded_.privateFolder), loaded_.privateFolder.empty() ? -1 : 0);
}

void Property_AddressBookPage::fillFolders() {
    filling_ = true;
    const ContactsSettings now = form();
    filledRoot_ = now.vcardFolders;
    fields_->setRowVisible(rootRow_, equalsNoCase(now.synchWith, kStoreVcardFolders));
    problem_->hide();
    // A run holds the store, and a switched-off page has nothing to choose from.
    if (running_ || !now.enableSync) {
        showConfiguredFolders();
    } else {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        auto store = context_.openContactStore ? context_.openContactStore(now) : nullptr;
        std::vector<std::string> names;
        const bool listed = store && store->IsOpen() && store->ListFolders(names);
        store.reset();
        QGuiApplication::restoreOverrideCursor();
        if (listed && !names.empty()) {
            fillList(public_, names, folderIndex(names, loaded_.publicFolder));
            fillList(private_, names, folderIndex(names, loaded_.privateFolder));
        } else {
            // Keep the configured names, so Apply never forgets them.
            showConfiguredFolders();
            const std::string storeName = context_.strings.text(
                kContactStoreChoices[static_cast<std::size_t>(store_->currentIndex())].textId);
            const std::string reason =
                fillIn(context_.strings.text(listed ? IDS_AB_NO_FOLDERS : IDS_AB_STORE_UNAVAILABLE),
                       storeName);
            problem_->setText(
                QString::fromStdString(fillIn(context_.strings.text(IDS_AB_FOLDER_ERROR), reason)));
            problem_->show();
        }
    }
    filling_ = false;
    updateEnabled();
}

void Property_AddressBookPage::dropHistories(bool publicPair, bool privatePair) {
    const std::string folder = userFolder();
    if (folder.empty()) return;
    std::error_code ignored;
    for (const bool isPublic : {true, false}) {
        if (isPublic ? !publicPair : !privatePair) continue;
        for (const auto& name : contactHistoryFiles(isPublic)) {
            std::filesystem::remove(folder + name, ignored);
        }
    }
}

void Property_AddressBookPage::enableToggled(bool on) {
    if (on) {
        showInformation(this, context_.strings, context_.strings.text(IDS_AB_MERGE_NOTICE));
        dropHistories(true, true);
    }
    fillFolders();
}

void Property_AddressBookPage::updateEnabled() {
    const bool idle = !running_;
    const bool on = enable_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{enable_, interval_, store_, rootRow_,
                                                      publicOn_, privateOn_}) {
        w->setEnabled(idle);
    }
    public_->setEnabled(idle && on && publicOn_->isChecked());
    private_->setEnabled(idle && on && privateOn_->isChecked());
    syncNow_->setEnabled(idle && on);
    cancel_->setEnabled(running_);
}

void Property_AddressBookPage::showRunning(bool running) {
    running_ = running;
    busy_->setVisible(running);
    runningText_->setVisible(running);
    updateEnabled();
}

bool Property_AddressBookPage::showsRunning() const {
    return running_;
}

void Property_AddressBookPage::pageShown() {
    if (!context_.loginState().loggedIn) Q_EMIT closeRequested();
}

bool Property_AddressBookPage::applyPage() {
    const ContactsSettings now = form();
    switch (checkAddressBookApply(now)) {
        case AddressBookRefusal::SameFolder:
            showError(this, context_.strings, context_.strings.text(IDS_AB_SAME_FOLDER));
            return false;
        case AddressBookRefusal::NoFolder:
            showError(this, context_.strings, context_.strings.text(IDS_AB_NO_FOLDER));
            return false;
        case AddressBookRefusal::None:
            break;
    }
    const std::string folder = userFolder();
    if (folder.empty() || now == loaded_) return true;
    ProfileFile ini(folder + kContactsIniName);
    if (const Status written = now.write(ini); !written) {
        showError(this, context_.strings,
                  fillIn(context_.strings.text(IDS_SETTINGS_NOT_SAVED), written.error()));
        return false;
    }
    const HistoryReset reset = historiesToReset(loaded_, now);
    dropHistories(reset.publicPair, reset.privatePair);
    // A folder's name is its identifier in both stores.
    const Status ids = writeContactFolders(
        folder + "confolder.dat", {.publicId = now.publicFolder, .privateId = now.privateFolder});
    if (!ids) {
        showError(this, context_.strings,
                  fillIn(context_.strings.text(IDS_SETTINGS_NOT_SAVED), ids.error()));
    }
    loaded_ = now;
    context_.frames.post(FrameKind::AddressBook, UM_SYNC_SETTINGS_CHANGED);
    return true;
}

void Property_AddressBookPage::synchronizeNow() {
    if (!confirm_(context_.strings.text(IDS_AB_SYNC_NOW_QUESTION))) return;
    if (!applyPage()) return;
    progress_->clear();
    if (!context_.frames.post(FrameKind::AddressBook, WM_TIMER, kSyncTimer)) {
        progress_->setText(context_.text(IDS_AB_NOT_STARTED));
        return;
    }
    // A run that starts shows itself; one that ends first has already said how it went.
    QTimer::singleShot(500, this, [this] {
        if (context_.contactSync && context_.contactSync->running) showRunning(true);
    });
}

void Property_AddressBookPage::cancelRun() {
    if (!confirm_(context_.strings.text(IDS_AB_CANCEL_QUESTION))) return;
    if (context_.contactSync) context_.contactSync->cancelRequested = true;
}

void Property_AddressBookPage::setConfirm(std::function<bool(const std::string&)> confirm) {
    confirm_ = std::move(confirm);
}

void Property_AddressBookPage::frameMessage(const PageMessage& message) {
    if (message.id == UM_SYNC_STATUS) {
        if (!running_) showRunning(true);
        progress_->setText(QString::fromStdString(message.text));
        return;
    }
    if (message.id != UM_SYNC_FINISHED) return;
    const bool wasRunning = running_;
    const std::string folder = userFolder();
    filling_ = true;
    enable_->setChecked(ContactsSettings::read(ProfileFile(folder + kContactsIniName)).enableSync);
    filling_ = false;
    showRunning(false);
    progress_->setText(QString::fromStdString(
        fillIn(context_.strings.text(outcomeTextId(static_cast<ContactSyncOutcome>(message.w))),
               folder + "synch.log")));
    // Lists shown during the run held the configured names only.
    if (wasRunning) fillFolders();
}

OptionsPageEntry addressBookPageEntry() {
    return OptionsPageEntry{
        .slot = PageSlot::AddressBook,
        .condition = PageCondition::LoggedIn,
        .openName = std::string(kPageNameAddressBook),
        .helpTopic = kHelpTopicServer,
        .make = [](OptionsContext& context) { return new Property_AddressBookPage(context); },
    };
}

}  // namespace vellix
