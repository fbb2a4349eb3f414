#include "im/windows/spell_highlighter.h"

#include "platform/spell_checker.h"
#include "platform/word_scanner.h"

namespace vellix {

SpellHighlighter::SpellHighlighter(QTextDocument* document, SpellChecker& checker)
    : QSyntaxHighlighter(document), checker_(checker) {
}

void SpellHighlighter::highlightBlock(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    QTextCharFormat misspelt;
    misspelt.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    misspelt.setUnderlineColor(Qt::red);
    for (const WordRange& word : scanWords(bytes)) {
        if (checker_.isCorrect(bytes.substr(word.offset, word.length))) continue;
        // Byte offsets to the block's UTF-16 positions.
        const auto start =
            QString::fromUtf8(utf8.constData(), static_cast<qsizetype>(word.offset)).size();
        const auto length =
            QString::fromUtf8(utf8.constData() + word.offset, static_cast<qsizetype>(word.length))
                .size();
        setFormat(static_cast<int>(start), static_cast<int>(length), misspelt);
    }
}

}  // namespace vellix
