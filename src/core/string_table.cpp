#include "core/string_table.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <iterator>

namespace vellix {
namespace {

struct Entry {
    int id;
    std::string_view english;
    std::string_view chinese;
};

// Kept sorted by id: lookups use a binary search.
constexpr std::array kEntries{
    Entry{IDS_NOTE_TITLE, "New Mail", "新邮件"},
    Entry{IDS_NOTE_LABEL, "New mail has arrived in:", "以下文件夹中有新邮件："},
    Entry{IDS_NOTE_DONT_REOPEN, "Do not open this window again until more new mail arrives",
          "在收到更多新邮件之前不再打开此窗口"},
    Entry{IDS_NOTE_CLOSE, "Close", "关闭"},
    Entry{IDS_NOTE_OPEN, "Open", "打开"},
    Entry{IDS_EXIT_QUESTION, "Do you really want to close Vellix?", "确认希望关闭Vellix吗？"},
    Entry{IDS_EXIT_DONT_SHOW, "Don't show this message again", "以后不要显示该邮件"},
    Entry{IDS_BUTTON_YES, "&Yes", "是(&Y)"},
    Entry{IDS_BUTTON_NO, "&No", "否(&N)"},
    Entry{IDS_DISCONNECT_TITLE, "Vellix Alert!", "Vellix 警报！"},
    Entry{IDS_DISCONNECT_TEXT, "You have been disconnected from the Skyloom server.",
          "您已从Skyloom服务器上断开。"},
    Entry{IDS_DISCONNECT_OK, "Reconnect", "重新连接"},
    Entry{IDS_DISCONNECT_CANCEL, "Cancel", "取消"},
    Entry{IDS_ALERT_TITLE, "Vellix System Message", "Vellix 系统消息"},
    Entry{IDS_ALERT_OK, "OK", "确定"},
    Entry{IDS_STATUS_ONLINE, "Online", "联机"},
    Entry{IDS_STATUS_OFFLINE, "Offline", "脱机"},
    Entry{IDS_STATUS_AWAY, "Away", "离开"},
    Entry{IDS_STATUS_INVISIBLE, "Invisible", "隐身"},
};
static_assert(std::ranges::is_sorted(kEntries, {}, &Entry::id));

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

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

const Entry* find(int id) {
    auto it = std::ranges::lower_bound(kEntries, id, {}, &Entry::id);
    return (it != kEntries.end() && it->id == id) ? &*it : nullptr;
}

}  // namespace

Language languageFromLocaleName(std::string_view locale) {
    return locale.starts_with("zh") ? Language::Chinese : Language::English;
}

Language languageFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): read at start
        if (value && *value) return languageFromLocaleName(value);
    }
    return Language::English;
}

StringTable::StringTable(Language language) : language_(language) {
}

std::string StringTable::text(int id) const {
    const Entry* entry = find(id);
    if (!entry) return {};
    return std::string(language_ == Language::Chinese ? entry->chinese : entry->english);
}

std::string StringTable::localizedStatus(std::string_view protocolWord) const {
    for (const auto& word : kStatusWords) {
        if (equalsIgnoringCase(word.protocol, protocolWord)) return text(word.id);
    }
    return std::string(protocolWord);
}

std::string StringTable::protocolStatus(std::string_view localizedWord) const {
    for (const auto& word : kStatusWords) {
        if (text(word.id) == localizedWord) return std::string(word.protocol);
    }
    return std::string(localizedWord);
}

std::vector<int> StringTable::ids() {
    std::vector<int> out;
    std::ranges::transform(kEntries, std::back_inserter(out), &Entry::id);
    return out;
}

}  // namespace vellix
