#include "platform/windows/user_dictionary_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "platform/hunspell_spelling_engine.h"

namespace vellix {

UserDictionaryDialog::UserDictionaryDialog(QWidget* owner, HunspellSpellingEngine& engine)
    : QDialog(owner),
      engine_(engine),
      words_(new QListWidget),
      entry_(new QLineEdit),
      error_(new QLabel) {
    setWindowTitle(QStringLiteral("User Dictionary"));
    words_->setObjectName(QStringLiteral("words"));
    entry_->setObjectName(QStringLiteral("entry"));
    error_->setObjectName(QStringLiteral("error"));
    error_->setWordWrap(true);

    auto* add = new QPushButton(QStringLiteral("&Add"));
    auto* remove = new QPushButton(QStringLiteral("&Remove"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* layout = new QGridLayout(this);
    layout->addWidget(entry_, 0, 0);
    layout->addWidget(add, 0, 1);
    layout->addWidget(words_, 1, 0);
    layout->addWidget(remove, 1, 1, Qt::AlignTop);
    layout->addWidget(error_, 2, 0, 1, 2);
    layout->addWidget(buttons, 3, 0, 1, 2);

    connect(add, &QPushButton::clicked, this, [this] { addWord(entry_->text()); });
    connect(entry_, &QLineEdit::returnPressed, this, [this] { addWord(entry_->text()); });
    connect(remove, &QPushButton::clicked, this, &UserDictionaryDialog::removeSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    reload();
}

void UserDictionaryDialog::reload() {
    words_->clear();
    auto words = engine_.userWords();
    if (!words) {
        showError(words.error());
        return;
    }
    for (const auto& word : *words) words_->addItem(QString::fromStdString(word));
}

void UserDictionaryDialog::showError(const std::string& message) {
    error_->setText(QString::fromStdString(message));
}

void UserDictionaryDialog::addWord(const QString& word) {
    const QString trimmed = word.trimmed();
    if (trimmed.isEmpty()) return;
    auto current = engine_.userWords();
    if (current && std::ranges::find(*current, trimmed.toStdString()) != current->end()) {
        entry_->clear();
        return;
    }
    if (auto added = engine_.addWord(trimmed.toStdString()); !added) {
        showError(added.error());
        return;
    }
    error_->clear();
    entry_->clear();
    reload();
}

void UserDictionaryDialog::removeSelected() {
    const auto selected = words_->selectedItems();
    for (const QListWidgetItem* item : selected) {
        if (auto removed = engine_.removeWord(item->text().toStdString()); !removed) {
            showError(removed.error());
            break;
        }
    }
    reload();
}

void editUserDictionary(QWidget* owner, HunspellSpellingEngine& engine) {
    UserDictionaryDialog dialog(owner, engine);
    dialog.exec();
}

}  // namespace vellix
