#include "tray/windows/note_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellix {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

NoteDialog::NoteDialog(const StringTable& strings, const std::vector<FolderStatus>& folders,
                       bool dontReopen, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("NoteDialog"));
    setWindowTitle(qs(strings.text(IDS_NOTE_TITLE)));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(qs(strings.text(IDS_NOTE_LABEL)), this));
    list_ = new QListWidget(this);
    for (const FolderStatus& folder : folders) {
        list_->addItem(qs(folder.displayName));
        names_.push_back(folder.name);
    }
    layout->addWidget(list_);
    dontReopen_ = new QCheckBox(qs(strings.text(IDS_NOTE_DONT_REOPEN)), this);
    dontReopen_->setChecked(dontReopen);
    layout->addWidget(dontReopen_);
    auto* buttons = new QDialogButtonBox(this);
    auto* close =
        buttons->addButton(qs(strings.text(IDS_NOTE_CLOSE)), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    layout->addWidget(buttons);

    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { chooseRow(list_->row(item)); });
}

std::string NoteDialog::folderAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= names_.size()) return {};
    return names_[static_cast<std::size_t>(row)];
}

void NoteDialog::chooseRow(int row) {
    const std::string name = folderAt(row);
    if (name.empty()) return;
    chosen_ = true;
    Q_EMIT folderChosen(name);
    close();
}

void NoteDialog::done(int result) {
    // Opening a folder ends the note without reading the box; Close, Escape and the window
    // manager's close all keep it.
    if (!chosen_) Q_EMIT closedWithBox(dontReopen_->isChecked());
    QDialog::done(result);
}

}  // namespace vellix
