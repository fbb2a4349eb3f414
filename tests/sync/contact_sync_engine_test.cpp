#include <gtest/gtest.h>

#include "sync_engine_fixture.h"

namespace vellix {
namespace {

using Lines = std::vector<std::string>;
using testing::contact;

class ContactSyncEngineTest : public testing::SyncEngineTest {};

TEST_F(ContactSyncEngineTest, EqualStoresWriteNothingAndRememberEveryContact) {
    Keep(remote_, contact("a@x", "A", "g1"));
    Keep(local_, contact("A@X", "A"));
    remote_.contacts().Append(contact("b@x", "B", "g2"));  // no histories yet
    local_.contacts().Append(contact("b@x", "B"));

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Writes(remote_), 0);
    EXPECT_EQ(Writes(local_), 0);
    EXPECT_EQ(remote_.Calls(SourceOp::HistoryGet), 0);  // no difference, no history read
    EXPECT_EQ(History(remote_, "b@x").fullName, "B");
    EXPECT_EQ(History(local_, "b@x").fullName, "B");
    EXPECT_EQ(lines_.front(), "[2024-05-06 07:08:09] Is Private Folder\n");
    EXPECT_EQ(Messages(),
              (Lines{" Is Private Folder\n", " Beginning contact synch\n", " In SYNCH_SYNCH\n",
                     " Synching remote contact:a@x\n", " Contact was found in local source\n",
                     " Synching remote contact:b@x\n", " Contact was found in local source\n",
                     " Synching local contact:A@X\n", " Synching local contact:b@x\n"}));
    EXPECT_EQ(status_, (Lines{"Synching remote contact:a@x", "Synching remote contact:b@x",
                              "Local source contact:A@X", "Local source contact:b@x"}));
}

TEST_F(ContactSyncEngineTest, MergesFieldByFieldAgainstTheHistories) {
    struct Side {
        const char* fullName;
        const char* comment;
    };
    struct Case {
        const char* name;
        Side remote, local;
        bool withHistory;
        Side history;  // both sides' previous state
        Side merged;
        bool remoteWritten, localWritten;
    } cases[] = {
        {"changed on the server",
         {"new", "c"},
         {"old", "c"},
         true,
         {"old", "c"},
         {"new", "c"},
         false,
         true},
        {"changed locally",
         {"old", "c"},
         {"new", "c"},
         true,
         {"old", "c"},
         {"new", "c"},
         true,
         false},
        {"same field on both sides",
         {"r", "c"},
         {"l", "c"},
         true,
         {"old", "c"},
         {"r", "c"},
         false,
         true},
        {"different fields on both sides",
         {"r", "c"},
         {"old", "l"},
         true,
         {"old", "c"},
         {"r", "l"},
         true,
         true},
        {"cleared locally", {"old", "c"}, {"", "c"}, true, {"old", "c"}, {"", "c"}, true, false},
        {"no history, both set", {"r", ""}, {"l", "l"}, false, {}, {"r", "l"}, true, true},
        {"no history, remote empty", {"", "c"}, {"l", "c"}, false, {}, {"l", "c"}, true, false},
        {"no history, local empty", {"r", "c"}, {"", "c"}, false, {}, {"r", "c"}, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        remote_ = MemoryContactSource();
        local_ = MemoryContactSource();
        lines_.clear();
        ContactRecord r = contact("a@x", c.remote.fullName, "g1");
        r.comment = c.remote.comment;
        r.TNEF = "opaque";
        ContactRecord l = contact("a@x", c.local.fullName);
        l.comment = c.local.comment;
        remote_.contacts().Append(r);
        local_.contacts().Append(l);
        if (c.withHistory) {
            ContactRecord h = contact("a@x", c.history.fullName, "g1");
            h.comment = c.history.comment;
            remote_.history().Append(h);
            local_.history().Append(h);
        }

        ASSERT_EQ(Run(), 0);
        EXPECT_EQ(remote_.Calls(SourceOp::UpdateContact), c.remoteWritten ? 1 : 0);
        EXPECT_EQ(local_.Calls(SourceOp::UpdateContact), c.localWritten ? 1 : 0);
        for (auto* source : {&remote_, &local_}) {
            const bool written = source == &remote_ ? c.remoteWritten : c.localWritten;
            const ContactRecord stored = Get(*source, "a@x");
            const ContactRecord& before = source == &remote_ ? r : l;
            EXPECT_EQ(stored.fullName, written ? c.merged.fullName : before.fullName);
            EXPECT_EQ(stored.comment, written ? c.merged.comment : before.comment);
            // The history is what the store holds after the run.
            EXPECT_EQ(History(*source, "a@x").fullName, stored.fullName);
            EXPECT_EQ(History(*source, "a@x").comment, stored.comment);
        }
        // The merged record carries only the email, the guid and the numbered fields.
        if (c.remoteWritten) {
            EXPECT_EQ(Get(remote_, "a@x").guid, "g1");
            EXPECT_EQ(Get(remote_, "a@x").TNEF, "");
        }
        EXPECT_EQ(Logged(" Error getting previous contact from remote source for contact:a@x\n"),
                  !c.withHistory);
        EXPECT_EQ(Logged(" Error getting previous contact from local source for contact:a@x\n"),
                  !c.withHistory);
    }
}

TEST_F(ContactSyncEngineTest, ContactsMissingOnOneSideAreCreatedWithoutHistory) {
    remote_.contacts().Append(contact("r@x", "R", "g1"));
    local_.contacts().Append(contact("l@x", "L"));
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(local_.contacts().ContainsEmail("r@x"));
    EXPECT_TRUE(remote_.contacts().ContainsEmail("l@x"));
    for (auto* source : {&remote_, &local_}) {
        EXPECT_TRUE(source->history().ContainsEmail("r@x"));
        EXPECT_TRUE(source->history().ContainsEmail("l@x"));
    }
    EXPECT_EQ(Messages(),
              (Lines{" Is Private Folder\n", " Beginning contact synch\n", " In SYNCH_SYNCH\n",
                     " Synching remote contact:r@x\n", " Created contact on local source\n",
                     " Synching local contact:l@x\n", " Created contact on remote source2\n"}));
}

TEST_F(ContactSyncEngineTest, DeletionsOnEitherSideAreCarriedOver) {
    Keep(remote_, contact("gone-locally@x", "", "g1"));
    local_.history().Append(contact("gone-locally@x"));
    Keep(local_, contact("gone-remotely@x"));
    remote_.history().Append(contact("gone-remotely@x", "", "g2"));

    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(remote_.contacts().empty());
    EXPECT_TRUE(local_.contacts().empty());
    EXPECT_TRUE(remote_.history().empty());
    EXPECT_TRUE(local_.history().empty());
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
         {" Removed contact from local source.  User lacks permission to modify public "
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
        remote_ = MemoryContactSource();
        local_ = MemoryContactSource();
        lines_.clear();
        context_.folderName = c.folder;
        context_.mayModifyGlobalContacts = c.mayModify;
        local_.contacts().Append(contact("new@x", "N"));

        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(remote_.contacts().ContainsEmail("new@x"), c.createdOnRemote);
        EXPECT_EQ(local_.contacts().ContainsEmail("new@x"), c.createdOnRemote);
        EXPECT_EQ(local_.history().ContainsEmail("new@x"), c.createdOnRemote);
        Lines expected = {
            c.folder == std::string("Private") ? " Is Private Folder\n" : " Is Public Folder\n",
            " Beginning contact synch\n", " In SYNCH_SYNCH\n", " Synching local contact:new@x\n"};
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(Messages(), expected);
    }
}

TEST_F(ContactSyncEngineTest, AContactVanishingMidRunIsSkipped) {
    local_.contacts().Append(contact("vanishing@x"));
    local_.contacts().Append(contact("stays@x"));
    local_.SetCallHook([this](SourceOp op, const std::string& email) {
        if (op == SourceOp::GetContact && email == "vanishing@x") {
            local_.contacts().RemoveByEmail(email);
        }
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(Logged(" Error reading contact from the local source\n"));
    EXPECT_FALSE(remote_.contacts().ContainsEmail("vanishing@x"));
    EXPECT_TRUE(remote_.contacts().ContainsEmail("stays@x"));
}

TEST_F(ContactSyncEngineTest, CancelStopsBetweenContactsAndKeepsWhatWasDone) {
    remote_.contacts().Append(contact("1@x", "", "g1"));
    remote_.contacts().Append(contact("2@x", "", "g2"));
    local_.SetCallHook([this](SourceOp op, const std::string&) {
        if (op == SourceOp::AddContact) cancel_ = true;
    });
    EXPECT_EQ(Run(), 6);
    EXPECT_TRUE(local_.contacts().ContainsEmail("1@x"));
    EXPECT_FALSE(local_.contacts().ContainsEmail("2@x"));
    EXPECT_EQ(Messages().back(), " User cancelled synch, exiting...\n");
    EXPECT_EQ(Messages()[Messages().size() - 2], " Created contact on local source\n");
}

TEST_F(ContactSyncEngineTest, FailedOperationsAreLoggedAndTheRunGoesOn) {
    enum Setup { kBoth, kRemoteOnly, kLocalOnly, kLocallyDeleted, kRemotelyDeleted, kChanged };
    struct Case {
        Setup setup;
        bool onRemote;
        SourceOp op;
        std::string message;
        int result = 0;
    } cases[] = {
        {kBoth, true, SourceOp::ListEmails, " Error getting contact list from remote source\n", 3},
        {kBoth, false, SourceOp::ListEmails, " Error getting contact list from local source\n", 3},
        {kBoth, true, SourceOp::GetContact,
         " Error reading contact from remote source, skipping contact\n"},
        {kBoth, false, SourceOp::GetContact,
         " Error reading contact from local source, skipping contact\n"},
        {kChanged, true, SourceOp::UpdateContact,
         " Error writing synched contact to remote source\n"},
        {kChanged, false, SourceOp::UpdateContact,
         " Error writing synched contact to local source\n"},
        {kBoth, true, SourceOp::HistoryPut, " Error setting previous contact in remote history\n"},
        {kBoth, false, SourceOp::HistoryPut, " Error setting previous contact in local history\n"},
        {kLocallyDeleted, true, SourceOp::RemoveContact,
         " Error removing contact from remote source\n"},
        {kLocallyDeleted, true, SourceOp::HistoryRemove,
         " Error deleting previous contact from the remote source history!\n"},
        {kLocallyDeleted, false, SourceOp::HistoryRemove,
         " Error deleting previous contact from the local source history!\n"},
        {kRemotelyDeleted, false, SourceOp::RemoveContact,
         " Error removing contact from local source\n"},
        {kRemoteOnly, true, SourceOp::GetContact, " Error reading contact from remote source\n"},
        {kRemoteOnly, false, SourceOp::AddContact, " Error creating contact on local source\n"},
        {kRemoteOnly, true, SourceOp::HistoryPut,
         " Error setting previous contact in the remote source history!\n"},
        {kRemoteOnly, false, SourceOp::HistoryPut,
         " Error setting previous contact in the local source history!\n"},
        {kLocalOnly, false, SourceOp::GetContact, " Error reading contact from the local source\n"},
        {kLocalOnly, true, SourceOp::AddContact, " Error creating contact in the remote source\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        remote_ = MemoryContactSource();
        local_ = MemoryContactSource();
        lines_.clear();
        // The failing contact comes first; "z@x" behind it must still be handled.
        switch (c.setup) {
            case kBoth:
                Keep(remote_, contact("a@x", "A", "g"));
                Keep(local_, contact("a@x", "A"));
                break;
            case kChanged:
                Keep(remote_, contact("a@x", "A", "g"));
                Keep(local_, contact("a@x", "A"));
                remote_.contacts().PutByEmail(contact("a@x", "server", "g"));
                local_.contacts().PutByEmail([] {
                    ContactRecord r = contact("a@x", "A");
                    r.comment = "local";
                    return r;
                }());
                break;
            case kRemoteOnly:
                remote_.contacts().Append(contact("a@x", "A", "g"));
                break;
            case kLocalOnly:
                local_.contacts().Append(contact("a@x", "A"));
                break;
            case kLocallyDeleted:
                Keep(remote_, contact("a@x", "A", "g"));
                local_.history().Append(contact("a@x", "A"));
                break;
            case kRemotelyDeleted:
                Keep(local_, contact("a@x", "A"));
                remote_.history().Append(contact("a@x", "A", "g"));
                break;
        }
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
    EXPECT_EQ(Get(local_, "both@x").fullName, "server");
    EXPECT_TRUE(local_.contacts().ContainsEmail("new@x"));
    EXPECT_FALSE(local_.contacts().ContainsEmail("extra@x"));
    EXPECT_TRUE(remote_.history().ContainsEmail("new@x"));
    EXPECT_EQ(History(local_, "both@x").fullName, "server");
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

TEST_F(ContactSyncEngineTest, MirrorCancelBetweenRemoteContactsLogsWithoutTheSpace) {
    remote_.contacts().Append(contact("1@x", "", "g1"));
    remote_.contacts().Append(contact("2@x", "", "g2"));
    local_.SetCallHook([this](SourceOp op, const std::string&) {
        if (op == SourceOp::AddContact) cancel_ = true;
    });
    EXPECT_EQ(Run(SYNCH_MIRROR), 6);
    EXPECT_EQ(Messages().back(), "User cancelled synch, exiting...\n");
}

TEST_F(ContactSyncEngineTest, PrimeHistoryRemembersEveryReadableContact) {
    local_.contacts().Append(contact("a@x", "A"));
    local_.contacts().Append(contact("b@x", "B"));
    local_.FailOn(SourceOp::GetContact, "b@x");
    ContactSyncEngine engine(context_, log_);
    engine.PrimeHistory(local_);
    EXPECT_EQ(History(local_, "a@x").fullName, "A");
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
