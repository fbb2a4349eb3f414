#include "platform/word_scanner.h"

#include <cstdint>

namespace vellix {
namespace {

struct CodePoint {
    char32_t value;
    std::size_t size;  // bytes; invalid sequences count as one byte of value 0xFFFD
};

CodePoint decode(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(at);
    if (lead < 0x80) return {lead, 1};
    std::size_t size = 0;
    char32_t value = 0;
    if ((lead & 0xE0) == 0xC0) {
        size = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        size = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        size = 4;
        value = lead & 0x07;
    } else {
        return {0xFFFD, 1};
    }
    if (at + size > text.size()) return {0xFFFD, 1};
    for (std::size_t i = 1; i < size; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return {0xFFFD, 1};
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    return {value, size};
}

bool isLetter(char32_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
    if (c >= 0xC0 && c <= 0x24F) return c != 0xD7 && c != 0xF7;  // Latin-1 and extended
    return (c >= 0x370 && c <= 0x3FF) ||                         // Greek
           (c >= 0x400 && c <= 0x52F) ||                         // Cyrillic
           (c >= 0x1E00 && c <= 0x1EFF);                         // Latin additional
}

bool isApostrophe(char32_t c) {
    return c == '\'' || c == 0x2019;
}

bool isJoiner(char32_t c) {
    return (c >= '0' && c <= '9') || c == '_';
}

bool isSpace(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v' || c == 0xA0 ||
           c == 0x3000;
}

bool looksLikeAddress(std::string_view chunk) {
    return chunk.find('@') != std::string_view::npos ||
           chunk.find("://") != std::string_view::npos || chunk.starts_with("www.");
}

bool allUppercase(std::string_view word) {
    bool upper = false;
    for (char c : word) {
        if (c >= 'a' && c <= 'z') return false;
        if (c >= 'A' && c <= 'Z') upper = true;
    }
    return upper;
}

// Words of one chunk (no spaces inside), appended with offsets relative to `base`.
void scanChunk(std::string_view chunk, std::size_t base, const ScanOptions& options,
               std::vector<WordRange>& out) {
    std::size_t at = 0;
    while (at < chunk.size()) {
        CodePoint cp = decode(chunk, at);
        if (!isLetter(cp.value) && !isJoiner(cp.value)) {
            at += cp.size;
            continue;
        }
        const std::size_t start = at;
        std::size_t end = at;
        bool skip = false;
        while (at < chunk.size()) {
            cp = decode(chunk, at);
            if (isLetter(cp.value) || isJoiner(cp.value)) {
                skip = skip || isJoiner(cp.value);
                at += cp.size;
                end = at;
            } else if (isApostrophe(cp.value) && at + cp.size < chunk.size() &&
                       isLetter(decode(chunk, at + cp.size).value)) {
                at += cp.size;  // inner apostrophe: "don't"
            } else {
                break;
            }
        }
        const std::string_view word = chunk.substr(start, end - start);
        if (!skip && !(options.skipUppercase && allUppercase(word))) {
            out.push_back({base + start, end - start});
        }
    }
}

}  // namespace

std::vector<WordRange> scanWords(std::string_view text, const ScanOptions& options) {
    std::vector<WordRange> out;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isSpace(decode(text, at).value)) at += decode(text, at).size;
        std::size_t end = at;
        while (end < text.size() && !isSpace(decode(text, end).value)) {
            end += decode(text, end).size;
        }
        const std::string_view chunk = text.substr(at, end - at);
        if (!chunk.empty() && !looksLikeAddress(chunk)) scanChunk(chunk, at, options, out);
        at = end;
    }
    return out;
}

}  // namespace vellix
