#include "core/status_words.h"

#include <array>

#include "core/ascii_case.h"
#include "core/string_table.h"

namespace vellix {
namespace {

struct StatusWord {
    std::string_view protocol;
    int id;
};

constexpr std::array kStatusWords{
    StatusWord{"Online", IDS_STATUS_ONLINE},
    StatusWord{"Away", IDS_STATUS_AWAY},
    StatusWord{"Invisible", IDS_STATUS_INVISIBLE},
    StatusWord{"Offline", IDS_STATUS_OFFLINE},
};

}  // namespace

int statusWordId(std::string_view protocolWord) {
    for (const auto& word : kStatusWords) {
        if (equalsNoCase(word.protocol, protocolWord)) return word.id;
    }
    return 0;
}

std::string localizedStatus(std::string_view protocolWord, const TextById& text) {
    const int id = statusWordId(protocolWord);
    return id ? text(id) : std::string(protocolWord);
}

std::string protocolStatus(std::string_view shownWord, const TextById& text) {
    for (const auto& word : kStatusWords) {
        if (text(word.id) == shownWord) return std::string(word.protocol);
    }
    return std::string(shownWord);
}

}  // namespace vellix
