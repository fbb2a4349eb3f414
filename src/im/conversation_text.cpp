#include "im/conversation_text.h"

#include <cstdio>
#include <ctime>

namespace vellix {
namespace {

int twelveHour(int hour) {
    return (hour + 11) % 12 + 1;
}
const char* meridiem(int hour) {
    return hour < 12 ? "AM" : "PM";
}

std::string heading(const ConversationEntry& entry, const std::string& stamp) {
    return entry.name + stamp + ":\r\n";
}

std::string bodyText(const ConversationEntry& entry) {
    std::string body = entry.text + "\r\n";
    if (entry.kind == EntryKind::Reminder && !entry.calendarLink.empty()) {
        body += "Go to my calendar:\r\n" + entry.calendarLink + "\r\n\r\n";
    }
    return body;
}

}  // namespace

StampTime localStampTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

std::string shortStamp(const StampTime& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, " (%d:%02d %s)", twelveHour(t.hour), t.minute,
                  meridiem(t.hour));
    return buffer;
}

std::string longStamp(const StampTime& t) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, " (%02d/%02d/%04d %02d:%02d %s)", t.month, t.day, t.year,
                  twelveHour(t.hour), t.minute, meridiem(t.hour));
    return buffer;
}

std::vector<TextRun> screenRuns(const ConversationEntry& entry, const StampTime& t) {
    if (entry.kind == EntryKind::System) {
        return {{RunRole::PeerHeading, "\r\n***** System Message *****" + shortStamp(t) + "\r\n"},
                {RunRole::Body, entry.text},
                {RunRole::PeerHeading, std::string(44, '*') + "\r\n\r\n"}};
    }
    const RunRole role = entry.kind == EntryKind::Sent ? RunRole::OwnHeading : RunRole::PeerHeading;
    return {{role, heading(entry, shortStamp(t))}, {RunRole::Body, bodyText(entry)}};
}

std::string entryTrace(std::string_view title, const ConversationEntry& entry) {
    static constexpr std::string_view kKinds[] = {"sent", "received", "reminder", "system"};
    std::string line = "vellix: conversation \"" + std::string(title) +
                       "\": " + std::string(kKinds[static_cast<int>(entry.kind)]);
    if (entry.kind != EntryKind::System) {
        return line + ", " + std::to_string(entry.text.size()) + " bytes\n";
    }
    line += ": ";
    for (char c : entry.text) {
        if (c != '\r') line += c == '\n' ? ' ' : c;
    }
    return line + "\n";
}

std::string historyLines(const ConversationEntry& entry, const StampTime& t) {
    if (entry.kind == EntryKind::System) return {};
    return heading(entry, longStamp(t)) + " " + bodyText(entry);
}

std::vector<EmoticonPiece> splitEmoticons(std::string_view text) {
    std::vector<EmoticonPiece> pieces;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t best = std::string_view::npos;
        int bestIndex = -1;
        for (int i = 0; i < static_cast<int>(kEmoticonCodes.size()); ++i) {
            const std::size_t at = text.find(kEmoticonCodes[static_cast<std::size_t>(i)], pos);
            if (at < best) {
                best = at;
                bestIndex = i;
            }
        }
        if (bestIndex < 0) break;
        if (best > pos) pieces.push_back({text.substr(pos, best - pos), -1});
        const std::size_t length = kEmoticonCodes[static_cast<std::size_t>(bestIndex)].size();
        pieces.push_back({text.substr(best, length), bestIndex});
        pos = best + length;
    }
    if (pos < text.size()) pieces.push_back({text.substr(pos), -1});
    return pieces;
}

std::string historyFolder(const std::string& dataFolder) {
    return dataFolder + "History/";
}

std::string historyFileName(std::string_view title) {
    constexpr std::string_view kExtension = ".log";
    constexpr std::size_t kMaxName = 255 - kExtension.size();
    std::string name(title);
    for (char& c : name) {
        if (c == '/' || c == '\0') c = '_';
    }
    if (name.size() > kMaxName) {
        std::size_t cut = kMaxName;
        // Back up to the first byte of a UTF-8 character.
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    if (name.empty()) name = "_";
    return name + std::string(kExtension);
}

std::string shownName(const Participant& p) {
    return p.name.empty() ? p.address : p.name;
}

std::string conversationTitle(const std::vector<Participant>& participants) {
    std::string title;
    for (const Participant& p : participants) {
        if (!title.empty()) title += ", ";
        title += shownName(p);
    }
    return title;
}

std::string statusTitle(const std::vector<Participant>& participants, std::string_view onlineText) {
    std::string title;
    for (const Participant& p : participants) {
        if (!title.empty()) title += ", ";
        title += shownName(p);
        if (p.status != onlineText) title += " (" + p.status + ")";
    }
    return title;
}

std::string toLabel(std::string_view title) {
    return "To: " + std::string(title);
}

std::string ownStatusLabel(std::string_view prefix, std::string_view statusWord) {
    std::string word(statusWord);
    if (!word.empty() && word[0] >= 'a' && word[0] <= 'z')
        word[0] = static_cast<char>(word[0] - 32);
    return std::string(prefix) + word;
}

}  // namespace vellix
