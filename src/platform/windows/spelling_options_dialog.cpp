#include "platform/windows/spelling_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

#include "platform/hunspell_spelling_engine.h"

namespace vellix {

SpellingOptionsDialog::SpellingOptionsDialog(QWidget* owner, HunspellSpellingEngine& engine)
    : QDialog(owner),
      engine_(engine),
      language_(new QComboBox),
      skipUppercase_(new QCheckBox(QStringLiteral("Ignore words in &UPPERCASE"))) {
    setWindowTitle(QStringLiteral("Spelling Options"));
    language_->setObjectName(QStringLiteral("language"));
    skipUppercase_->setObjectName(QStringLiteral("skipUppercase"));

    // An empty entry follows the locale.
    language_->addItem(QStringLiteral("(system language)"), QString());
    for (const auto& language : engine_.availableLanguages()) {
        const QString name = QString::fromStdString(language);
        language_->addItem(name, name);
    }
    const int current = language_->findData(QString::fromStdString(engine_.language()));
    language_->setCurrentIndex(current < 0 ? 0 : current);
    skipUppercase_->setChecked(engine_.scanOptions().skipUppercase);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("&Language:"), language_);
    layout->addRow(skipUppercase_);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void SpellingOptionsDialog::apply() {
    const std::string language = language_->currentData().toString().toStdString();
    if (language != engine_.language()) engine_.setLanguage(language);
    ScanOptions options = engine_.scanOptions();
    options.skipUppercase = skipUppercase_->isChecked();
    engine_.setScanOptions(options);
}

int showSpellingOptions(QWidget* owner, HunspellSpellingEngine& engine) {
    SpellingOptionsDialog dialog(owner, engine);
    return dialog.exec();
}

}  // namespace vellix
