#pragma once
// The spelling engine's options: the dictionary language and whether words in capitals
// are checked. Applied to the engine on OK, for the rest of the run.

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace vellix {

class HunspellSpellingEngine;

class SpellingOptionsDialog final : public QDialog {
    Q_OBJECT
  public:
    SpellingOptionsDialog(QWidget* owner, HunspellSpellingEngine& engine);

    void apply();

  private:
    HunspellSpellingEngine& engine_;
    QComboBox* language_;
    QCheckBox* skipUppercase_;
};

// Shows the dialog modally; QDialog::Accepted when the options were applied.
int showSpellingOptions(QWidget* owner, HunspellSpellingEngine& engine);

}  // namespace vellix
