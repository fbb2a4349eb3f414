#pragma once
// The four status words: the protocol's words, which are never translated, and their
// string-table numbers, whose texts are what the user sees.

#include <functional>
#include <string>
#include <string_view>

namespace vellix {

// The string-table number of a protocol status word (letter case aside); 0 for any other.
int statusWordId(std::string_view protocolWord);

using TextById = std::function<std::string(int)>;
// Protocol word to the word shown; a word outside the four is returned as it is.
std::string localizedStatus(std::string_view protocolWord, const TextById& text);
// Shown word to protocol word; a word outside the four is returned as it is.
std::string protocolStatus(std::string_view shownWord, const TextById& text);

}  // namespace vellix
