#include "im/messenger_commands.h"

#include "core/ascii_case.h"
#include "core/string_table.h"
#include "im/im_events.h"

namespace vellix {

bool commandEnabled(MessengerCommand command, const MessengerCommandState& state) {
    switch (command) {
        case MessengerCommand::SendFile:
            return state.fileSending;
        case MessengerCommand::SpellCheck:
            return state.spelling;
        default:
            return true;
    }
}

std::vector<MessengerMenuItem> messengerMenu(const MessengerCommandState& state) {
    using C = MessengerCommand;
    const auto item = [&state](C command, int textId) {
        return MessengerMenuItem{command, textId, commandEnabled(command, state)};
    };
    return {item(C::SendFile, IDS_IM_SEND_FILE),
            MessengerMenuItem{},
            item(C::TextColor, IDS_IM_TEXT_COLOR),
            item(C::BackgroundColor, IDS_IM_BACKGROUND),
            item(C::SpellCheck, IDS_IM_SPELL_CHECK),
            item(C::HistoryFolder, IDS_MENU_HISTORY_FOLDER),
            MessengerMenuItem{},
            item(C::EditBuddyList, IDS_IM_EDIT_BUDDIES),
            item(C::Options, IDS_IM_OPTIONS)};
}

FileRecipients fileRecipients(const std::vector<std::string_view>& addresses, bool choosing) {
    std::vector<std::string_view> named;
    for (std::string_view a : addresses) {
        if (!a.empty()) named.push_back(a);
    }
    return {asciiLowerCopy(joinSortedNoCase(named)), choosing || named.size() > 1};
}

}  // namespace vellix
