#pragma once
// How each conversation entry reads on screen and in the history file, the time stamps,
// the emoticon codes and the window's title texts: plain functions the window calls.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vellix {

enum class EntryKind { Sent, Received, Reminder, System };

struct ConversationEntry {
    EntryKind kind = EntryKind::Sent;
    std::string name;  // the writer's display name; a reminder's subject
    std::string text;  // decoded, as typed
    // Reminders: the calendar page, when a session exists.
    std::string calendarLink;
};

struct StampTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
};
StampTime localStampTime();

// " (1:05 PM)"
std::string shortStamp(const StampTime& t);
// " (03/04/2024 01:30 PM)"
std::string longStamp(const StampTime& t);

enum class RunRole {
    OwnHeading,   // blue
    PeerHeading,  // red: received headings and the system-message frame
    Body,         // the conversation's text format, emoticons drawn
};
struct TextRun {
    RunRole role;
    std::string text;
};

std::vector<TextRun> screenRuns(const ConversationEntry& entry, const StampTime& t);
// The diagnostics line for an entry shown in the window titled `title`: its kind and size;
// a system message's own text on one line, since it is ours rather than the user's.
std::string entryTrace(std::string_view title, const ConversationEntry& entry);
// The lines the history file gets; empty for a system message, which is never logged.
std::string historyLines(const ConversationEntry& entry, const StampTime& t);
// Ends each conversation session in a history file.
inline constexpr std::string_view kHistorySessionEnd = "----------\r\n";

// The emoticon codes by picture index.
inline constexpr std::array<std::string_view, 11> kEmoticonCodes{
    ":)", ":(", ";)", ":D", ":P", " :\\", "(<", ")<", "=:-}", "brb", ":'-("};
struct EmoticonPiece {
    std::string_view text;  // plain text, or the code when `emoticon` is set
    int emoticon = -1;      // picture index, -1 for plain text
};
// The text in order, each code found at its earliest place (the first code of the table
// wins where two start at the same byte).
std::vector<EmoticonPiece> splitEmoticons(std::string_view text);

// The history folder under the per-user data folder (which ends with "/").
std::string historyFolder(const std::string& dataFolder);
// A file name for any title: "/" and NUL become "_", the name stays within one path level
// and the file system's 255 bytes (cut at a whole UTF-8 character), ".log" appended.
std::string historyFileName(std::string_view title);

struct Participant {
    std::string address;
    std::string name;    // empty: the address is shown
    std::string status;  // the shown status word
};
std::string shownName(const Participant& p);
// The names joined by ", ": the window title and the history file's name.
std::string conversationTitle(const std::vector<Participant>& participants);
// The title once buddies change: each name with " (status)" unless the status is online.
std::string statusTitle(const std::vector<Participant>& participants, std::string_view onlineText);
std::string toLabel(std::string_view title);
inline constexpr std::string_view kMultipleRecipientsTitle = "Multiple Recipients";
inline constexpr std::string_view kMultipleRecipientsLabel = "To: <Multiple Recipients>";
// `prefix` (string 32825) and the status word with its first letter in upper case.
std::string ownStatusLabel(std::string_view prefix, std::string_view statusWord);

}  // namespace vellix
