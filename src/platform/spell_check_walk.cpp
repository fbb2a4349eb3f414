#include "platform/spell_check_walk.h"

#include <string_view>

namespace vellix {

SpellCheckWalk::SpellCheckWalk(SpellChecker& checker, std::string text, ScanOptions options)
    : checker_(checker), text_(std::move(text)), options_(options) {
    advance(0);
}

void SpellCheckWalk::advance(std::size_t from) {
    current_.reset();
    const std::string_view rest = std::string_view(text_).substr(from);
    for (const auto& range : scanWords(rest, options_)) {
        const std::string_view word = rest.substr(range.offset, range.length);
        if (ignored_.contains(word) || checker_.isCorrect(word)) continue;
        current_ = Misspelling{from + range.offset, range.length, std::string(word),
                               checker_.suggestions(word)};
        ++stops_;
        return;
    }
}

void SpellCheckWalk::replace(const std::string& replacement) {
    if (!current_) return;
    const std::size_t offset = current_->offset;
    if (replacement != current_->word) {
        text_.replace(offset, current_->length, replacement);
        changed_ = true;
    }
    advance(offset + replacement.size());
}

void SpellCheckWalk::ignore() {
    if (current_) advance(current_->offset + current_->length);
}

void SpellCheckWalk::ignoreAll() {
    if (!current_) return;
    ignored_.insert(current_->word);
    checker_.ignoreAll(current_->word);
    advance(current_->offset + current_->length);
}

Status SpellCheckWalk::add() {
    if (!current_) return success();
    if (auto added = checker_.addWord(current_->word); !added) return added;
    ignored_.insert(current_->word);  // even if the checker only learns it later
    advance(current_->offset + current_->length);
    return success();
}

void SpellCheckWalk::cancel() {
    if (current_) cancelled_ = true;
    current_.reset();
}

}  // namespace vellix
