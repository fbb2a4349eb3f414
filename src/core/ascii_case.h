#pragma once
// Emails, guids, protocol words and tags are compared without regard to ASCII letter case; other bytes
// (UTF-8 included) compare as they are.

#include <cstddef>
#include <string>
#include <string_view>

namespace vellix {

inline char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiLowerCopy(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = asciiLower(c);
    return out;
}

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return true;
}

// True when `text` begins with `prefix`, letter case aside.
inline bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

// Hash and equality for containers keyed by such texts; transparent, so lookups by
// string_view need no lower-cased copy.
struct NoCaseHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        std::size_t hash = 14695981039346656037ull;  // FNV-1a
        for (char c : text) {
            hash ^= static_cast<unsigned char>(asciiLower(c));
            hash *= 1099511628211ull;
        }
        return hash;
    }
};

struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return equalsNoCase(a, b); }
};

}  // namespace vellix
