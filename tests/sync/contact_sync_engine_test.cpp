#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "support/memory_contact_source.h"
#include "sync/contact_sync_engine.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

using Lines = std::vector<std::string>;
using testing::contact;

std::tm fixedTime() {  // 2024-05-06 07:08:09
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 4;
    time.tm_mday = 6;
    time.tm_hour = 7;
    time.tm_min = 8;
    time.tm_sec = 9;
    return time;
}

// Two in-memory stores, a fixed log clock and a captured log.
class ContactSyncEngineTest : public ::testing::Test {
  protected:
    ContactSyncEngineTest()
        : log_([this](std::string_view line) { lines_.emplace_back(line); }, fixedTime) {
        context_.cancelRequested = &cancel_;
        context_.folderName = "Private";
        context_.showStatus = [this](std::string_view line) { status_.emplace_back(line); };
    }

    int Run(int type = SYNCH_SYNCH) {
        ContactSyncEngine engine(context_, log_);
        return engine.Synchronize(type, &remote_, &local_);
    }
    // Empty stores and log for the next case of a table.
    void Reset() {
        remote_ = MemoryContactSource();
        local_ = MemoryContactSource();
        lines_.clear();
    }
    // A contact in a store and in its history, as a previous run leaves it.
    static void Keep(MemoryContactSource& source, const ContactRecord& record) {
        source.contacts().Append(record);
        source.history().Append(record);
    }
    // The log lines without their "[2024-05-06 07:08:09]" stamps.
    Lines Messages() const {
        Lines out;
        for (const auto& line : lines_) out.push_back(line.substr(21));
        return out;
    }
    bool Logged(const std::string& message) const {
        return std::ranges::count(Messages(), message) > 0;
    }
    static ContactRecord Get(ContactList& list, const std::string& email) {
        ContactRecord record;
        list.GetByEmail(email, record);
        return record;
    }

    MemoryContactSource remote_;
    MemoryContactSource local_;
    std::atomic<bool> cancel_{false};
    SyncContext context_;
    Lines lines_;
    Lines status_;
    SyncLog log_;
};

TEST_F(ContactSyncEngineTest, EqualStoresWriteNothingAndRememberEveryContact) {
    Keep(remote_, contact("a@x", "A", "g1"));
    Keep(local_, contact("A@X", "A"));
    remote_.contacts().Append(contact("b@x", "B", "g2"));  // no histories yet
    local_.contacts().Append(contact("b@x", "B"));

    EXPECT_EQ(Run(), 0);
    for (const auto* source : {&remote_, &local_}) {
        for (auto op : {SourceOp::AddContact, SourceOp::UpdateContact, SourceOp::RemoveContact}) {
            EXPECT_EQ(source->Calls(op), 0);
        }
    }
    EXPECT_EQ(remote_.Calls(SourceOp::HistoryGet), 0);  // no difference, no history read
    EXPECT_EQ(Get(remote_.history(), "b@x").fullName(), "B");
    EXPECT_EQ(Get(local_.history(), "b@x").fullName(), "B");
    EXPECT_EQ(lines_.front(), "[2024-05-06 07:08:09] Is Private Folder\n");
    EXPECT_EQ(Messages(),
              (Lines{" Is Private Folder\n", " Beginning contact synch\n", " In SYNCH_SYNCH\n",
                     " Synching remote contact:a@x\n", " Contact was found in local source\n",
                     " Synching remote contact:b@x\n", " Contact was found in local source\n",
                     " Synching local contact:A@X\n", " Synching local contact:b@x\n"}));
    EXPECT_EQ(status_, (Lines{"Synching remote contact:a@x", "Synching remote contact:b@x",
                              "Local source contact:A@X", "Local source contact:b@x"}));
}

// A side is "fullName|comment"; no history stands for a first run.
ContactRecord side(const std::string& fields, const std::string& guid) {
    const auto bar = fields.find('|');
    ContactRecord record = contact("a@x", fields.substr(0, bar), guid);
    record.setComment(fields.substr(bar + 1));
    return record;
}

TEST_F(ContactSyncEngineTest, MergesFieldByFieldAgainstTheHistories) {
    struct Case {
        const char* name;
        const char *remote, *local, *history, *merged;
        const char* written;  // "R" remote, "L" local
    } cases[] = {
        {"changed on the server", "new|c", "old|c", "old|c", "new|c", "L"},
        {"changed locally", "old|c", "new|c", "old|c", "new|c", "R"},
        {"same field on both sides", "r|c", "l|c", "old|c", "r|c", "L"},
        {"different fields on both sides", "r|c", "old|l", "old|c", "r|l", "RL"},
        {"cleared locally", "old|c", "|c", "old|c", "|c", "R"},
        {"no history, both set", "r|", "l|l", nullptr, "r|l", "RL"},
        {"no history, remote empty", "|c", "l|c", nullptr, "l|c", "R"},
        {"no history, local empty", "r|c", "|c", nullptr, "r|c", "L"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        ContactRecord r = side(c.remote, "g1");
        r.setTNEF("opaque");
        const ContactRecord l = side(c.local, "");
        remote_.contacts().Append(r);
        local_.contacts().Append(l);
        if (c.history) {
            remote_.history().Append(side(c.history, "g1"));
            local_.history().Append(side(c.history, "g2"));
        }

        ASSERT_EQ(Run(), 0);
        const std::string written = c.written;
        const ContactRecord merged = side(c.merged, "");
        for (auto* source : {&remote_, &local_}) {
            const bool isWritten =
                written.find(source == &remote_ ? 'R' : 'L') != std::string::npos;
            const ContactRecord& expected = isWritten ? merged : (source == &remote_ ? r : l);
            const ContactRecord stored = Get(source->contacts(), "a@x");
            EXPECT_EQ(source->Calls(SourceOp::UpdateContact), isWritten ? 1 : 0);
            EXPECT_EQ(stored.fullName(), expected.fullName());
            EXPECT_EQ(stored.comment(), expected.comment());
            // The history is what the store holds after the run.
            EXPECT_EQ(Get(source->history(), "a@x"), stored);
        }
        // The server item keeps its identity and opaque data through an update.
        EXPECT_EQ(Get(remote_.contacts(), "a@x").guid(), "g1");
        EXPECT_EQ(Get(remote_.contacts(), "a@x").TNEF(), "opaque");
        EXPECT_EQ(Logged(" Error getting previous contact from remote source for contact:a@x\n"),
                  !c.history);
        EXPECT_EQ(Logged(" Error getting previous contact from local source for contact:a@x\n"),
                  !c.history);
    }
}

TEST_F(ContactSyncEngineTest, DeletionsOnEitherSideAreCarriedOver) {
    Keep(remote_, contact("gone-locally@x", "", "g1"));
    local_.history().Append(contact("gone-locally@x"));
    Keep(local_, contact("gone-remotely@x"));
    remote_.history().Append(contact("gone-remotely@x", "", "g2"));

    EXPECT_EQ(Run(), 0);
    for (auto* list :
         {&remote_.contacts(), &local_.contacts(), &remote_.history(), &local_.history()}) {
        EXPECT_TRUE(list->empty());
    }
    EXPECT_EQ(
        Messages(),
        (Lines{" Is Private Folder\n", " Beginning contact synch\n", " In SYNCH_SYNCH\n",
               " Synching remote contact:gone-locally@x\n",
               " This contact existed in the local source last synch but does not exist "
               "now, so it will be removed from the remote source.\n",
               " Removed contact from remote source\n", " Synching local contact:gone-remotely@x\n",
               " Contact existed in remote source last synch so the contact will be "
               "removed from the local source\n",
               " Removed contact from local source\n"}));
}

TEST_F(ContactSyncEngineTest, PublicFolderNeedsTheRightToAddContacts) {
    struct Case {
        const char* folder;
        bool mayModify;
        bool createdOnRemote;
        Lines tail;
    } cases[] = {
        {"public",
         false,
         false,
         {" Contact kept in the local source only.  User lacks permission to modify public "
          "addressbook.\n"}},
        {"Public",
         true,
         true,
         {" bCanModifyGlobalContacts = true; bPublicFolder = true\n",
          " Created contact on remote source1\n"}},
        {"Private", false, true, {" Created contact on remote source2\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        Reset();
        context_.folderName = c.folder;
        context_.mayModifyGlobalContacts = c.mayModify;
        local_.contacts().Append(contact("new@x", "N"));

        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(remote_.contacts().ContainsEmail("new@x"), c.createdOnRemote);
        EXPECT_TRUE(local_.contacts().ContainsEmail("new@x"));  // the user's card stays
        EXPECT_EQ(local_.history().ContainsEmail("new@x"), c.createdOnRemote);
        Lines expected = {
            c.folder == std::string("Private") ? " Is Private Folder\n" : " Is Public Folder\n",
            " Beginning contact synch\n", " In SYNCH_SYNCH\n", " Synching local contact:new@x\n"};
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(Messages(), expected);
    }
}

TEST_F(ContactSyncEngineTest, CancelStopsBetweenContactsAndKeepsWhatWasDone) {
    struct Case {
        int type;
        Lines tail;  // mirroring logs its cancel line without the leading space
    } cases[] = {
        {SYNCH_SYNCH,
         {" Created contact on local source\n", " User cancelled synch, exiting...\n"}},
        {SYNCH_MIRROR,
         {" Created contact in local source\n", "User cancelled synch, exiting...\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Reset();
        cancel_ = false;
        remote_.contacts().Append(contact("1@x", "", "g1"));
        remote_.contacts().Append(contact("2@x", "", "g2"));
        local_.SetCallHook([this](SourceOp op, const std::string&) {
            if (op == SourceOp::AddContact) cancel_ = true;
        });
        EXPECT_EQ(Run(c.type), 6);
        EXPECT_TRUE(local_.contacts().ContainsEmail("1@x"));
        EXPECT_FALSE(local_.contacts().ContainsEmail("2@x"));
        const Lines messages = Messages();
        ASSERT_GE(messages.size(), 2u);
        EXPECT_EQ(Lines(messages.end() - 2, messages.end()), c.tail);
    }
}

TEST_F(ContactSyncEngineTest, FailedOperationsAreLoggedAndTheRunGoesOn) {
    // Where "a@x" stands before the run: R/L in the remote/local store, r/l in the
    // remote/local history, c: changed on both sides since then.
    struct Case {
        const char* setup;
        bool onRemote;
        SourceOp op;
        std::string message;
        int result = 0;
    } cases[] = {
        {"RLrl", true, SourceOp::ListEmails, " Error getting contact list from remote source\n", 3},
        {"RLrl", false, SourceOp::ListEmails, " Error getting contact list from local source\n", 3},
        {"RLrl", true, SourceOp::GetContact,
         " Error reading contact from remote source, skipping contact\n"},
        {"RLrl", false, SourceOp::GetContact,
         " Error reading contact from local source, skipping contact\n"},
        {"RLrlc", true, SourceOp::UpdateContact,
         " Error writing synched contact to remote source\n"},
        {"RLrlc", false, SourceOp::UpdateContact,
         " Error writing synched contact to local source\n"},
        {"RLrl", true, SourceOp::HistoryPut, " Error setting previous contact in remote history\n"},
        {"RLrl", false, SourceOp::HistoryPut, " Error setting previous contact in local history\n"},
        {"Rrl", true, SourceOp::RemoveContact, " Error removing contact from remote source\n"},
        {"Rrl", true, SourceOp::HistoryRemove,
         " Error deleting previous contact from the remote source history!\n"},
        {"Rrl", false, SourceOp::HistoryRemove,
         " Error deleting previous contact from the local source history!\n"},
        {"Lrl", false, SourceOp::RemoveContact, " Error removing contact from local source\n"},
        {"R", true, SourceOp::GetContact, " Error reading contact from remote source\n"},
        {"R", false, SourceOp::AddContact, " Error creating contact on local source\n"},
        {"R", true, SourceOp::HistoryPut,
         " Error setting previous contact in the remote source history!\n"},
        {"R", false, SourceOp::HistoryPut,
         " Error setting previous contact in the local source history!\n"},
        {"L", false, SourceOp::GetContact, " Error reading contact from the local source\n"},
        {"L", true, SourceOp::AddContact, " Error creating contact in the remote source\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Reset();
        const std::string setup = c.setup;
        auto has = [&](char place) { return setup.find(place) != std::string::npos; };
        const bool changed = has('c');
        ContactRecord localRecord = contact("a@x", "A", "l");
        if (changed) localRecord.setComment("local");
        if (has('R')) remote_.contacts().Append(contact("a@x", changed ? "server" : "A", "g"));
        if (has('L')) local_.contacts().Append(localRecord);
        if (has('r')) remote_.history().Append(contact("a@x", "A", "g"));
        if (has('l')) local_.history().Append(contact("a@x", "A", "l"));
        // "z@x" behind the failing contact must still be handled.
        remote_.contacts().Append(contact("z@x", "Z", "gz"));
        (c.onRemote ? remote_ : local_).FailOn(c.op, c.op == SourceOp::ListEmails ? "" : "a@x");

        EXPECT_EQ(Run(), c.result);
        EXPECT_TRUE(Logged(c.message));
        if (c.result == 0) {
            EXPECT_TRUE(local_.contacts().ContainsEmail("z@x"));
        }
    }
}

TEST_F(ContactSyncEngineTest, UnusableSourcesOrTypeEndTheRunWithFailure) {
    ContactSyncEngine engine(context_, log_);
    EXPECT_EQ(engine.Synchronize(SYNCH_SYNCH, nullptr, &local_), 3);
    EXPECT_EQ(engine.Synchronize(SYNCH_SYNCH, &remote_, nullptr), 3);
    remote_.SetOpen(false);
    EXPECT_EQ(engine.Synchronize(SYNCH_SYNCH, &remote_, &local_), 3);
    remote_.SetOpen(true);
    local_.SetOpen(false);
    EXPECT_EQ(engine.Synchronize(SYNCH_SYNCH, &remote_, &local_), 3);
    local_.SetOpen(true);
    EXPECT_EQ(engine.Synchronize(2, &remote_, &local_), 3);
    const std::string begin = " Is Private Folder\n Beginning contact synch\n";
    std::string all;
    for (const auto& m : Messages()) all += m;
    EXPECT_EQ(all, begin + " Pointer to remote source was NULL, exiting\n" + begin +
                       " Pointer to local source was NULL, exiting\n" + begin + begin +
                       " Error! Local synch source was not initialized\n" + begin +
                       " Invalid synch type\n");
}

TEST_F(ContactSyncEngineTest, MirrorCopiesTheRemoteStoreOverTheLocalOne) {
    remote_.contacts().Append(contact("both@x", "server", "g1"));
    remote_.contacts().Append(contact("new@x", "N", "g2"));
    local_.contacts().Append(contact("BOTH@x", "local"));
    local_.contacts().Append(contact("extra@x", "E"));
    local_.history().Append(contact("extra@x"));

    EXPECT_EQ(Run(SYNCH_MIRROR), 0);
    EXPECT_EQ(Get(local_.contacts(), "both@x").fullName(), "server");
    EXPECT_TRUE(local_.contacts().ContainsEmail("new@x"));
    EXPECT_FALSE(local_.contacts().ContainsEmail("extra@x"));
    EXPECT_TRUE(remote_.history().ContainsEmail("new@x"));
    EXPECT_EQ(Get(local_.history(), "both@x").fullName(), "server");
    EXPECT_FALSE(local_.history().ContainsEmail("extra@x"));
    EXPECT_EQ(
        Messages(),
        (Lines{" Is Private Folder\n", " Beginning contact synch\n", " Mirroring contact sources\n",
               " Synching remote source contact:both@x\n",
               " Mirrored remote contact over the existing local contact\n",
               " Synching remote source contact:new@x\n", " Created contact in local source\n",
               " Synching local source contact:BOTH@x\n",
               " Synching local source contact:extra@x\n",
               " The contact does not exist in the remote source and will now be removed "
               "from the local source\n",
               " Removed contact from local source\n"}));
}

TEST_F(ContactSyncEngineTest, PrimeHistoryRemembersEveryReadableContact) {
    local_.contacts().Append(contact("a@x", "A"));
    local_.contacts().Append(contact("b@x", "B"));
    local_.FailOn(SourceOp::GetContact, "b@x");
    ContactSyncEngine engine(context_, log_);
    engine.PrimeHistory(local_);
    EXPECT_EQ(Get(local_.history(), "a@x").fullName(), "A");
    EXPECT_FALSE(local_.history().ContainsEmail("b@x"));

    MemoryContactSource broken;
    broken.contacts().Append(contact("a@x"));
    broken.FailOn(SourceOp::ListEmails);
    engine.PrimeHistory(broken);
    EXPECT_TRUE(broken.history().empty());
    EXPECT_TRUE(lines_.empty());
}

}  // namespace
}  // namespace vellix
