#pragma once
// The commands of a conversation window beside Send: which can run, what its menu holds and
// whom a file goes to. Plain rules, so the window only wires them to its controls.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellix {

enum class MessengerCommand {
    SendFile,
    TextColor,
    BackgroundColor,
    HistoryFolder,
    SpellCheck,
    EditBuddyList,
    Options,
};

// What the window has to offer at the moment the rules are asked.
struct MessengerCommandState {
    bool fileSending = false;  // the program can send files at all
    bool spelling = false;     // a spelling engine is installed
};

bool commandEnabled(MessengerCommand command, const MessengerCommandState& state);

struct MessengerMenuItem {
    std::optional<MessengerCommand> command;  // none: a separator
    int textId = 0;
    bool enabled = false;
};

// The window's menu (button 1056), in order.
std::vector<MessengerMenuItem> messengerMenu(const MessengerCommandState& state);

// Whom an offered file goes to: the addresses lower-cased, in case-blind order, joined by
// ","; empty when none is chosen. `group` is set for a conversation of several people or
// one whose participants are being chosen, empty addresses are skipped.
struct FileRecipients {
    std::string list;
    bool group = false;
};
FileRecipients fileRecipients(const std::vector<std::string_view>& addresses, bool choosing);

}  // namespace vellix
