#pragma once
// Underlines the misspelt words of the input as the user types. GUI thread.

#include <QSyntaxHighlighter>

namespace vellix {

class SpellChecker;

class SpellHighlighter final : public QSyntaxHighlighter {
  public:
    SpellHighlighter(QTextDocument* document, SpellChecker& checker);

  protected:
    void highlightBlock(const QString& text) override;

  private:
    SpellChecker& checker_;
};

}  // namespace vellix
