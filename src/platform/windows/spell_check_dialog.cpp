#include "platform/windows/spell_check_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace vellix {
namespace {

constexpr std::size_t kContextBytes = 40;

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The words around the misspelling, with the misspelling marked.
QString contextOf(const std::string& text, const Misspelling& m) {
    const std::size_t start = m.offset > kContextBytes ? m.offset - kContextBytes : 0;
    const std::size_t end = std::min(text.size(), m.offset + m.length + kContextBytes);
    // Byte cuts may split a character; the decoder shows a replacement mark there.
    QString before = fromUtf8(text.substr(start, m.offset - start)).toHtmlEscaped();
    QString after =
        fromUtf8(text.substr(m.offset + m.length, end - m.offset - m.length)).toHtmlEscaped();
    return before + QStringLiteral("<b>") + fromUtf8(m.word).toHtmlEscaped() +
           QStringLiteral("</b>") + after;
}

QPushButton* addButton(QVBoxLayout* column, const QString& text, const char* name) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(name));
    column->addWidget(button);
    return button;
}

}  // namespace

SpellCheckDialog::SpellCheckDialog(QWidget* owner, SpellCheckWalk& walk)
    : QDialog(owner),
      walk_(walk),
      word_(new QLineEdit),
      context_(new QLabel),
      changeTo_(new QLineEdit),
      suggestions_(new QListWidget),
      error_(new QLabel) {
    setWindowTitle(QStringLiteral("Check Spelling"));
    word_->setReadOnly(true);
    word_->setObjectName(QStringLiteral("word"));
    changeTo_->setObjectName(QStringLiteral("changeTo"));
    suggestions_->setObjectName(QStringLiteral("suggestions"));
    context_->setTextFormat(Qt::RichText);
    context_->setWordWrap(true);
    error_->setObjectName(QStringLiteral("error"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Not in dictionary:"), word_);
    form->addRow(QString(), context_);
    form->addRow(QStringLiteral("Change to:"), changeTo_);
    form->addRow(QStringLiteral("Suggestions:"), suggestions_);
    form->addRow(QString(), error_);

    auto* buttons = new QVBoxLayout;
    QPushButton* replace = addButton(buttons, QStringLiteral("&Replace"), "replace");
    QPushButton* ignore = addButton(buttons, QStringLiteral("&Ignore"), "ignore");
    QPushButton* ignoreAll = addButton(buttons, QStringLiteral("Ignore A&ll"), "ignoreAll");
    QPushButton* add = addButton(buttons, QStringLiteral("&Add"), "add");
    QPushButton* cancel = addButton(buttons, QStringLiteral("Cancel"), "cancel");
    buttons->addStretch();
    replace->setDefault(true);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);

    connect(suggestions_, &QListWidget::currentTextChanged, changeTo_, &QLineEdit::setText);
    connect(suggestions_, &QListWidget::itemDoubleClicked, replace, &QPushButton::click);
    connect(replace, &QPushButton::clicked, this, [this] {
        walk_.replace(changeTo_->text().toStdString());
        afterStep();
    });
    connect(ignore, &QPushButton::clicked, this, [this] {
        walk_.ignore();
        afterStep();
    });
    connect(ignoreAll, &QPushButton::clicked, this, [this] {
        walk_.ignoreAll();
        afterStep();
    });
    connect(add, &QPushButton::clicked, this, [this] {
        if (auto added = walk_.add(); !added) {
            error_->setText(QString::fromStdString(added.error()));
            return;
        }
        afterStep();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    showCurrent();
}

void SpellCheckDialog::afterStep() {
    error_->clear();
    if (walk_.ended()) {
        accept();
        return;
    }
    showCurrent();
}

void SpellCheckDialog::showCurrent() {
    const auto& current = walk_.current();
    if (!current) return;
    word_->setText(fromUtf8(current->word));
    context_->setText(contextOf(walk_.text(), *current));
    suggestions_->clear();
    for (const auto& suggestion : current->suggestions) suggestions_->addItem(fromUtf8(suggestion));
    changeTo_->setText(current->suggestions.empty() ? fromUtf8(current->word)
                                                    : fromUtf8(current->suggestions.front()));
    changeTo_->setFocus();
    changeTo_->selectAll();
}

int checkSpelling(QWidget* owner, SpellChecker& checker, const TextAccess& text,
                  const ScanOptions& options) {
    SpellCheckWalk walk(checker, text.get().toStdString(), options);
    if (!walk.ended()) {
        SpellCheckDialog dialog(owner, walk);
        if (dialog.exec() != QDialog::Accepted) walk.cancel();
    }
    if (walk.changed()) text.set(fromUtf8(walk.text()));
    return walk.result();
}

int checkSpelling(QWidget* owner, SpellChecker& checker, QTextEdit* edit,
                  const ScanOptions& options) {
    return checkSpelling(owner, checker,
                         TextAccess{[edit] { return edit->toPlainText(); },
                                    [edit](const QString& t) { edit->setPlainText(t); }},
                         options);
}

int checkSpelling(QWidget* owner, SpellChecker& checker, QPlainTextEdit* edit,
                  const ScanOptions& options) {
    return checkSpelling(owner, checker,
                         TextAccess{[edit] { return edit->toPlainText(); },
                                    [edit](const QString& t) { edit->setPlainText(t); }},
                         options);
}

}  // namespace vellix
