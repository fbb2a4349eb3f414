// What a conversation window's commands may do and whom a file goes to.
#include <gtest/gtest.h>

#include "im/messenger_commands.h"

namespace vellix {
namespace {

TEST(MessengerCommands, WhatRunsAndWhomAFileGoesTo) {
    for (const MessengerMenuItem& item : messengerMenu({.fileSending = false, .spelling = false})) {
        EXPECT_EQ(item.enabled, item.command && *item.command != MessengerCommand::SendFile &&
                                    *item.command != MessengerCommand::SpellCheck);
    }
    const std::tuple<std::vector<std::string_view>, bool, std::string, bool> cases[] = {
        {{"Bob@Demo.Local"}, false, "bob@demo.local", false},
        {{"carol@x", "", "Bob@x"}, false, "bob@x,carol@x", true},
        {{"carol@x"}, true, "carol@x", true},  // one ticked in a group window
        {{}, true, "", true},                  // nobody ticked
    };
    for (const auto& [addresses, choosing, list, group] : cases) {
        const FileRecipients to = fileRecipients(addresses, choosing);
        EXPECT_EQ(std::pair(to.list, to.group), std::pair(list, group));
    }
}

}  // namespace
}  // namespace vellix
