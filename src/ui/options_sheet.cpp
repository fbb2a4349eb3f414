#include "ui/options_sheet.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QIcon>
#include <QPushButton>
#include <QTabWidget>

#include "core/exit_command.h"
#include "core/messages.h"
#include "core/string_table.h"
#include "ui/help_pages.h"

namespace vellix {

Property_MainSheet::Property_MainSheet(OptionsContext& context,
                                       const std::vector<OptionsPageEntry>& entries,
                                       QWidget* parent)
    : QDialog(parent), context_(context), entries_(pagesFor(entries, context.loginState())) {
    setWindowTitle(context_.text(IDS_OPTIONS_TITLE));
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowIcon(QIcon(QStringLiteral(":/icons/vellix.svg")));

    tabs_ = new QTabWidget(this);
    for (const OptionsPageEntry* entry : entries_) {
        OptionsPage* page = entry->make(context_);
        pages_.push_back(page);
        shown_.push_back(false);
        tabs_->addTab(page, page->title());
        connect(page, &OptionsPage::modified, this, [this] { applyButton_->setEnabled(true); });
        // Queued: the page may ask while it is being shown from inside a tab switch.
        connect(page, &OptionsPage::closeRequested, this, &QDialog::reject, Qt::QueuedConnection);
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(context_.text(IDS_BUTTON_OK), QDialogButtonBox::AcceptRole);
    buttons->addButton(context_.text(IDS_BUTTON_CANCEL), QDialogButtonBox::RejectRole);
    applyButton_ =
        buttons->addButton(context_.text(IDS_OPTIONS_APPLY), QDialogButtonBox::ApplyRole);
    QPushButton* help =
        buttons->addButton(context_.text(IDS_OPTIONS_HELP), QDialogButtonBox::HelpRole);
    QPushButton* exit =
        buttons->addButton(context_.text(IDS_MENU_EXIT), QDialogButtonBox::ResetRole);
    ok->setDefault(true);
    applyButton_->setEnabled(false);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (apply()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(applyButton_, &QPushButton::clicked, this, [this] {
        if (apply()) applyButton_->setEnabled(false);
    });
    connect(help, &QPushButton::clicked, this, &Property_MainSheet::openHelp);
    connect(exit, &QPushButton::clicked, this, &Property_MainSheet::closeProgram);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);

    connect(tabs_, &QTabWidget::currentChanged, this, &Property_MainSheet::pageChanged);
    if (!pages_.empty()) pageChanged(0);
}

Property_MainSheet::~Property_MainSheet() {
    // The server frame saves the messaging settings the pages may have changed.
    context_.frames.post(FrameKind::Server, UM_SAVE_IM_SETTINGS);
}

bool Property_MainSheet::showPage(std::string_view name) {
    const int index = pageIndexByName(entries_, name);
    if (index < 0) return false;
    tabs_->setCurrentIndex(index);
    return current_ == index;
}

int Property_MainSheet::pageCount() const {
    return static_cast<int>(pages_.size());
}

OptionsPage* Property_MainSheet::page(int index) const {
    if (index < 0 || index >= pageCount()) return nullptr;
    return pages_[static_cast<std::size_t>(index)];
}

OptionsPage* Property_MainSheet::activePage() const {
    return page(current_);
}

int Property_MainSheet::activeHelpTopic() const {
    if (current_ < 0) return kHelpTopicServer;
    return entries_[static_cast<std::size_t>(current_)]->helpTopic;
}

void Property_MainSheet::pageChanged(int index) {
    if (switching_ || index == current_) return;
    if (OptionsPage* old = activePage(); old && !old->pageLeaving()) {
        switching_ = true;
        tabs_->setCurrentIndex(current_);
        switching_ = false;
        return;
    }
    current_ = index;
    if (OptionsPage* now = activePage()) {
        shown_[static_cast<std::size_t>(index)] = true;
        now->pageShown();
    }
}

bool Property_MainSheet::apply() {
    if (OptionsPage* active = activePage(); active && !active->pageLeaving()) return false;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (!shown_[i]) continue;
        if (!pages_[i]->applyPage()) {
            tabs_->setCurrentIndex(static_cast<int>(i));
            return false;
        }
    }
    return true;
}

void Property_MainSheet::done(int result) {
    QDialog::done(result);
    deleteLater();
}

void Property_MainSheet::openHelp() {
    openHelpTopic(this, context_, activeHelpTopic());
}

void Property_MainSheet::closeProgram() {
    if (!context_.exitConfirmation) return;
    ProfileFile ini(context_.iniPath);
    runExitCommand(ini, *context_.exitConfirmation, context_.frames);
}

}  // namespace vellix
