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
    Entry{IDS_EXIT_QUESTION, "Do you really want to close Vellix?", "确认希望关闭Vellix吗？"},
    Entry{IDS_EXIT_DONT_SHOW, "Don't show this message again", "以后不要显示该邮件"},
    Entry{IDS_BUTTON_YES, "&Yes", "是(&Y)"},
    Entry{IDS_BUTTON_NO, "&No", "否(&N)"},
    Entry{IDS_LOGIN_TITLE, "Login Information", "登录信息"},
    Entry{IDS_LOGIN_ACCOUNT, "&Account:", "帐户(&A)："},
    Entry{IDS_LOGIN_PASSWORD, "&Password:", "密码(&P)："},
    Entry{IDS_LOGIN_REMEMBER, "Remember my password from now on", "从现在起记住我的密码"},
    Entry{IDS_BUTTON_OK, "OK", "确定"},
    Entry{IDS_BUTTON_CANCEL, "Cancel", "取消"},
    Entry{IDS_STATUS_ONLINE, "Online", "联机"},
    Entry{IDS_STATUS_OFFLINE, "Offline", "脱机"},
    Entry{IDS_STATUS_AWAY, "Away", "离开"},
    Entry{IDS_STATUS_INVISIBLE, "Invisible", "隐身"},
    Entry{IDS_AUTH_TITLE, "Authentication Required", "需要身份验证"},
    Entry{IDS_AUTH_SERVER, "The server %s asks for a user name and password.",
          "服务器 %s 要求提供用户名和密码。"},
    Entry{IDS_AUTH_PROXY, "The proxy server %s asks for a user name and password.",
          "代理服务器 %s 要求提供用户名和密码。"},
    Entry{IDS_AUTH_USER, "&User name:", "用户名(&U)："},
    Entry{IDS_AUTH_PASSWORD, "&Password:", "密码(&P)："},
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
