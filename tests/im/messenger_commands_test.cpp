// What a conversation window's commands may do and whom a file goes to.
#include <gtest/gtest.h>

#include "core/string_table.h"
#include "im/messenger_commands.h"

namespace vellix {
namespace {

TEST(MessengerCommands, MenuFollowsWhatTheProgramOffers) {
    using C = MessengerCommand;
    const struct {
        MessengerCommandState state;
        std::vector<C> disabled;
    } cases[] = {
        {{true, true}, {}},
        {{false, true}, {C::SendFile}},
        {{true, false}, {C::SpellCheck}},
        {{false, false}, {C::SendFile, C::SpellCheck}},
    };
    for (const auto& c : cases) {
        std::vector<C> disabled;
        int separators = 0;
        for (const MessengerMenuItem& item : messengerMenu(c.state)) {
            if (!item.command) {
                ++separators;
                continue;
            }
            EXPECT_FALSE(StringTable(Language::English).text(item.textId).empty());
            EXPECT_EQ(item.enabled, commandEnabled(*item.command, c.state));
            if (!item.enabled) disabled.push_back(*item.command);
        }
        EXPECT_EQ(disabled, c.disabled) << c.state.fileSending << c.state.spelling;
        EXPECT_EQ(separators, 2);
    }
}

TEST(MessengerCommands, FileRecipients) {
    const struct {
        std::vector<std::string_view> addresses;
        bool choosing;
        std::string list;
        bool group;
    } cases[] = {
        {{"Bob@Demo.Local"}, false, "bob@demo.local", false},
        {{"carol@x", "Bob@x"}, false, "bob@x,carol@x", true},
        {{"carol@x"}, true, "carol@x", true},  // one ticked in a group window
        {{}, true, "", true},                  // nobody ticked
        {{"", "a@x"}, false, "a@x", false},
    };
    for (const auto& c : cases) {
        const FileRecipients to = fileRecipients(c.addresses, c.choosing);
        EXPECT_EQ(to.list, c.list);
        EXPECT_EQ(to.group, c.group) << c.list;
    }
}

}  // namespace
}  // namespace vellix
