#pragma once
// Finds the words of a UTF-8 text that a spelling check should look at.

#include <cstddef>
#include <string_view>
#include <vector>

namespace vellix {

struct WordRange {
    std::size_t offset = 0;  // in bytes
    std::size_t length = 0;  // in bytes

    bool operator==(const WordRange&) const = default;
};

struct ScanOptions {
    bool skipUppercase = true;  // acronyms such as "HTTP"
};

// Words are runs of letters (Latin, Greek, Cyrillic) with inner apostrophes. Runs with
// digits or underscores, and whole chunks that look like addresses ("a@b", "x://y"), are
// left out, as are letters of scripts without spaces between words (CJK).
std::vector<WordRange> scanWords(std::string_view text, const ScanOptions& options = {});

}  // namespace vellix
