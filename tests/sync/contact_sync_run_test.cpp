#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/memory_contact_source.h"
#include "sync/contact_sync_run.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

constexpr const char* kTwoContacts =
    "<?xml version=\"1.0\"?>\r\n<addressBook>\r\n<contact>\r\n<guid><![CDATA[g1]]></guid>\r\n"
    "<email><![CDATA[a@x]]></email>\r\n</contact>\r\n</addressBook>\r\n";

class FakeServer : public ContactServer {
  public:
    std::optional<std::string> session = "<groupwareenabled>no</groupwareenabled>";
    std::map<std::string, std::optional<std::string>> lists = {{"public", kTwoContacts},
                                                               {"private", kTwoContacts}};
    std::optional<std::string> storeReply = "<result>success</result>";
    Lines calls;
    std::map<std::string, std::string> stored;

    std::optional<std::string> checkSession() override {
        calls.push_back("session");
        return session;
    }
    std::optional<std::string> fetchContacts(std::string_view folder) override {
        calls.push_back("fetch " + std::string(folder));
        return lists[std::string(folder)];
    }
    std::optional<std::string> storeContacts(std::string_view folder,
                                             const std::string& body) override {
        calls.push_back("store " + std::string(folder));
        stored[std::string(folder)] = body;
        return storeReply;
    }
};

class ContactSyncRunTest : public ::testing::Test {
  protected:
    Lines Run(ContactsSettings settings, std::string session = "S1") {
        ContactSyncRun run(ContactSyncRunDeps{
            .userFolder = dir_.path() + "/",
            .sessionId = std::move(session),
            .server = &server_,
            .makeLocal = [this](std::string_view store) -> std::unique_ptr<LocalContactSource> {
                if (store != "WAB" && store != "MAPI") return nullptr;
                auto local = std::make_unique<MemoryContactSource>();
                local->contacts().Append(testing::contact("mine@x", "Mine"));
                if (cancelAfterFirstContact_) {
                    local->SetCallHook([this](SourceOp op, const std::string&) {
                        if (op == SourceOp::AddContact) state_.cancelRequested = true;
                    });
                }
                return local;
            },
            .state = &state_,
            .clock = systemLocalTime,
            .showStatus = {},
        });
        outcome_ = run.run(settings);
        Lines out;
        std::istringstream log(dir_.read("synch.log"));
        for (std::string line; std::getline(log, line);) {
            out.push_back(line.size() > 21 ? line.substr(21) : line);  // without the stamp
        }
        return out;
    }
    bool Has(const char* name) const { return dir_.exists(name); }

    test::TempFolder dir_;
    FakeServer server_;
    ContactSyncState state_;
    ContactSyncOutcome outcome_ = ContactSyncOutcome::Done;
    bool cancelAfterFirstContact_ = false;
};

ContactsSettings settings(const char* store, bool pub, bool priv) {
    ContactsSettings s;
    s.enableSync = true;
    s.synchWith = store;
    s.publicFolder = pub ? "Work" : "";
    s.privateFolder = priv ? "Home" : "";
    return s;
}

TEST_F(ContactSyncRunTest, EarlyExitsLogTheReasonAndTouchNoStore) {
    struct Case {
        const char* name;
        ContactsSettings settings;
        std::string session;
        std::optional<std::string> sessionReply;
        std::string reason;
        Lines calls;
        ContactSyncOutcome outcome = ContactSyncOutcome::Skipped;
    } cases[] = {
        {"no session",
         settings("WAB", true, true),
         "",
         {},
         " Session ID not found, exiting synch function",
         {}},
        {"groupware user with vCard folders",
         settings("MAPI", true, true),
         "S1",
         "<groupwareenabled>Enabled</groupwareenabled><groupwareuser>enabled</groupwareuser>",
         " Outlook(MAPI) synchronization is disabled for Tarnlink user",
         {"session"}},
        {"no folder", settings("WAB", false, false), "S1", {}, " No folders to sync", {}},
        {"unknown store",
         settings("LDAP", true, false),
         "S1",
         {},
         " No local contact store for SynchWith=LDAP",
         {},
         ContactSyncOutcome::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server_ = FakeServer();
        server_.session = c.sessionReply;
        fs::remove(dir_.file("synch.log"));
        EXPECT_EQ(Run(c.settings, c.session),
                  (Lines{"", " Opening Vellix synch log", " Version: 9.0.0", c.reason,
                         " Closing Vellix synch log"}));
        EXPECT_EQ(server_.calls, c.calls);
        EXPECT_EQ(outcome_, c.outcome);
    }
}

TEST_F(ContactSyncRunTest, FolderPassesKeepOrDropTheHistoryFiles) {
    struct Case {
        const char* name;
        std::optional<std::string> publicList;
        std::optional<std::string> storeReply;
        bool cancel;
        const char* logged;
        bool publicKept;  // both public history files exist afterwards
        ContactSyncOutcome outcome;
    } cases[] = {
        {"stored", kTwoContacts, "<r>success</r>", false, nullptr, true, ContactSyncOutcome::Done},
        {"error page instead of a list", "<html>busy</html>", "<r>success</r>", false,
         " Error receiving public contacts from server", true, ContactSyncOutcome::Failed},
        {"store refused", kTwoContacts, "<r>failed</r>", false,
         " The server did not store the public contacts", false, ContactSyncOutcome::Failed},
        {"cancelled", kTwoContacts, "<r>success</r>", true,
         " Public synch was cancelled, the next synch will merge the local and remote contacts",
         false, ContactSyncOutcome::Cancelled},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server_ = FakeServer();
        server_.lists["public"] = c.publicList;
        server_.storeReply = c.storeReply;
        cancelAfterFirstContact_ = c.cancel;
        state_.cancelRequested = false;
        for (const char* name : {"public-local.xml", "public-remote.xml", "private-local.xml"}) {
            dir_.write(name, kTwoContacts);
        }
        const Lines log = Run(settings("WAB", true, true));
        EXPECT_EQ(outcome_, c.outcome);
        if (c.logged) {
            EXPECT_NE(std::ranges::count(log, c.logged), 0);
        }
        // A refused store leaves the list the server sent as the remote history.
        EXPECT_EQ(Has("public-remote.xml"), c.publicKept || !c.cancel);
        EXPECT_EQ(Has("public-local.xml"), c.publicKept);
        EXPECT_FALSE(Has("contact.tmp"));
        // Half a private pair is dropped before the pass, so the pass merges.
        EXPECT_EQ(Has("private-remote.xml"), !c.cancel && c.storeReply == "<r>success</r>");
    }
}

TEST_F(ContactSyncRunTest, ARemoteHistoryThatCannotBeSavedIsNeverSent) {
    fs::create_directory(dir_.file("public-remote.xml"));
    const Lines log = Run(settings("WAB", true, false));
    EXPECT_NE(
        std::ranges::count(log, " Error saving the remote history, the contacts were not sent"), 0);
    EXPECT_EQ(std::ranges::count(server_.calls, "store public"), 0);
    EXPECT_FALSE(Has("public-local.xml"));
}

}  // namespace
}  // namespace vellix
