#pragma once
// The spelling check dialog: walks the misspelled words of a text with Replace, Ignore,
// Ignore All, Add and Cancel. checkSpelling() is the entry point for the windows.

#include <QDialog>

#include <functional>

#include "platform/spell_check_walk.h"
#include "platform/spell_checker.h"
#include "platform/word_scanner.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTextEdit;

namespace vellix {

// How the check reads the text and puts the corrected text back.
struct TextAccess {
    std::function<QString()> get;
    std::function<void(const QString&)> set;
};

// Negative when the user cancelled; otherwise the number of misspelled words met (0: none,
// and no dialog was shown). Corrections made before a cancel are kept.
int checkSpelling(QWidget* owner, SpellChecker& checker, const TextAccess& text,
                  const ScanOptions& options = {});
// The edit's plain text; a changed text replaces the edit's contents.
int checkSpelling(QWidget* owner, SpellChecker& checker, QTextEdit* edit,
                  const ScanOptions& options = {});
int checkSpelling(QWidget* owner, SpellChecker& checker, QPlainTextEdit* edit,
                  const ScanOptions& options = {});

class SpellCheckDialog final : public QDialog {
    Q_OBJECT
  public:
    SpellCheckDialog(QWidget* owner, SpellCheckWalk& walk);

  private:
    void showCurrent();
    void afterStep();

    SpellCheckWalk& walk_;
    QLineEdit* word_;
    QLabel* context_;
    QLineEdit* changeTo_;
    QListWidget* suggestions_;
    QLabel* error_;
};

}  // namespace vellix
