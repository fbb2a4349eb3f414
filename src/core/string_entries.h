#pragma once
// The string table's storage: texts by number in both languages, in arrays sorted by
// number. The main table is in string_table.cpp; the options window's in options_strings.cpp.

#include <span>
#include <string_view>

namespace vellix {

struct StringEntry {
    int id;
    std::string_view english;
    std::string_view chinese;
};

std::span<const StringEntry> optionsStringEntries();

}  // namespace vellix
