// The window handler: which conversation window each event reaches, and when a new one opens.
#include <gtest/gtest.h>

#include "im/window_handler_frame.h"

namespace vellix {
namespace {

struct RecordingWindows final : ConversationWindows {
    std::vector<std::string> calls;
    void open(ConversationStart s) override {
        std::string names;
        for (const auto& p : s.participants) names += p.name + "/" + p.status + ";";
        calls.push_back("open " + std::to_string(s.id) + " [" + s.key + "] " + names +
                        (s.first ? " msg:" + s.first->messageText : ""));
    }
    void raise(ConversationId id) override { calls.push_back("raise " + std::to_string(id)); }
    void deliver(ConversationId id, ConversationStart, ImMessage m) override {
        calls.push_back("deliver " + std::to_string(id) + " msg:" + m.messageText);
    }
    void broadcast(MessageId id) override { calls.push_back("broadcast " + std::to_string(id)); }
    void closeAll() override { calls.push_back("closeAll"); }
};

struct RecordingSink final : TransferSink {
    std::vector<std::string> events;
    void response(const FileTransferResponse& r) override {
        events.push_back("response " + r.filename);
    }
    void status(const FileTransferStatus& s) override { events.push_back("status " + s.status); }
};

class WindowHandlerTest : public ::testing::Test {
  protected:
    WindowHandlerTest() { buddies.replace({{"bob@x.test", "Bob", "Away"}}); }

    void post(MessageId id, std::unique_ptr<Payload> payload = nullptr) {
        frame.send(id, 0, 0, std::move(payload));
    }
    static std::unique_ptr<Payload> im(std::string from, std::string text, std::string keys = {}) {
        return makePayload(ImMessage{"", std::move(from), "", std::move(text), std::move(keys)});
    }

    const Clock clock;
    WindowTable table;
    BuddyTable buddies;
    RecordingWindows windows;
    CMainFrame_WindowHandler frame{WindowHandlerDeps{
        .clock = clock,
        .table = table,
        .buddies = buddies,
        .windows = &windows,
        .onlineText = [] { return std::string("Online"); },
    }};
};

TEST_F(WindowHandlerTest, RoutesMessagesAndConversations) {
    post(UM_DELIVER_IM, im("Bob@X.test", "one"));
    post(UM_DELIVER_IM, im("bob@x.test", "two"));
    // A group: the key list decides, whoever sent it.
    post(UM_DELIVER_IM, im("c@x.test", "g1", "bob@x.test,c@x.test"));
    post(UM_DELIVER_IM, im("bob@x.test", "g2", "bob@x.test,c@x.test"));
    post(UM_START_CONVERSATION, makePayload(std::string("BOB@x.test")));
    post(UM_START_CONVERSATION, makePayload(std::string("d@x.test")));
    post(UM_START_CONVERSATION);  // participants chosen in the window
    // The first window closed: the next message opens a new one.
    table.removeConversation("bob@x.test", 1);
    post(UM_DELIVER_IM, im("bob@x.test", "three"));
    post(UM_BUDDY_STATUS_CHANGED);
    post(UM_OWN_STATUS_CHANGED);
    post(UM_CLOSE_CONVERSATIONS);

    const std::vector<std::string> expected{
        "open 1 [bob@x.test] Bob/Away; msg:one",
        "deliver 1 msg:two",
        "open 2 [bob@x.test,c@x.test] Bob/Away;c@x.test/Online; msg:g1",
        "deliver 2 msg:g2",
        "raise 1",
        "open 3 [d@x.test] d@x.test/Online;",
        "open 4 [] ",
        "open 5 [bob@x.test] Bob/Away; msg:three",
        "broadcast " + std::to_string(UM_BUDDY_STATUS_CHANGED),
        "broadcast " + std::to_string(UM_OWN_STATUS_CHANGED),
        "closeAll",
    };
    EXPECT_EQ(windows.calls, expected);
}

TEST_F(WindowHandlerTest, StartsWaitForTheBuddyListAndAGroupGetsItsSortedKey) {
    buddies.clear();  // logged out, or not yet read
    post(UM_START_CONVERSATION, makePayload(std::string("c@x.test,BOB@x.test")));
    post(UM_BUDDY_STATUS_CHANGED);  // a status event before the list: still waiting
    buddies.replace({{"bob@x.test", "Bob", "Online"}});
    post(UM_BUDDY_STATUS_CHANGED);
    post(UM_START_CONVERSATION, makePayload(std::string("bob@x.test,c@x.test")));
    const std::string broadcast = "broadcast " + std::to_string(UM_BUDDY_STATUS_CHANGED);
    const std::vector<std::string> expected{
        broadcast, broadcast, "open 1 [bob@x.test,c@x.test] Bob/Online;c@x.test/Online;",
        "raise 1"};
    EXPECT_EQ(windows.calls, expected);
}

TEST_F(WindowHandlerTest, TransferEventsReachTheSinkUnderTheirKey) {
    auto sink = std::make_shared<RecordingSink>();
    table.enterTransfer(
        "Bob@x.test"
        "Report.PDF",
        sink);
    post(UM_TRANSFER_RESPONSE, makePayload(FileTransferResponse{"bob@x.test", true, "report.pdf"}));
    post(UM_TRANSFER_STATUS,
         makePayload(FileTransferStatus{"BOB@X.TEST", "report.pdf", "cancelled", 0, ""}));
    post(UM_TRANSFER_STATUS,
         makePayload(FileTransferStatus{"c@x.test", "report.pdf", "lost", 0, ""}));
    // A closing conversation window never removes a transfer or a newer window's entry.
    table.removeConversation("bob@x.testreport.pdf", 1);
    table.enterConversation("e@x", 5);
    table.removeConversation("e@x", 4);
    EXPECT_EQ(table.findConversation("E@X"), 5u);
    EXPECT_EQ(sink->events, (std::vector<std::string>{"response report.pdf", "status cancelled"}));
    EXPECT_EQ(table.findTransfer("bob@x.testreport.pdf"), sink);

    table.addWindow(7);
    table.addWindow(7);
    table.addWindow(8);
    table.removeWindow(7);
    EXPECT_EQ(table.windowList(), std::vector<TransferWindowId>{8});
}

}  // namespace
}  // namespace vellix
