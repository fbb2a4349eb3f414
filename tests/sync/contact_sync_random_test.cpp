// Many rounds of what a user does on both sides between two runs (add, edit, delete, add
// again with an address used before), a run after each round, and the outcome checked
// against what the user did, not against the engine's own rules.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "core/ascii_case.h"
#include "support/memory_contact_source.h"
#include "sync/contact_sync_engine.h"

namespace vellix {
namespace {

enum class Did { Nothing, Created, Edited, Deleted };

struct Side {
    MemoryContactSource store;
    std::map<std::string, Did> did;            // by lower-case email
    std::map<std::string, ContactRecord> now;  // the side's copy after the user's actions
};

class UserModel {
  public:
    explicit UserModel(unsigned seed) : rng_(seed) {}

    // A few actions on one side; each contact is touched at most once per side and round.
    void act(Side& side, const std::map<std::string, ContactRecord>& before) {
        side.did.clear();
        side.now = before;
        for (int n = pick(4); n > 0; --n) {
            const std::string key = "c" + std::to_string(pick(10)) + "@x";
            if (side.did.contains(key)) continue;
            if (!before.contains(key)) {
                ContactRecord record;
                // Any letter case names the same contact.
                record.setEmail(pick(2) ? key : asciiUpper(key));
                record.setFullName("Name " + std::to_string(pick(1000)));
                if (pick(2)) record.SetField(pick(ContactRecord::kFieldCount), value());
                side.store.contacts().Append(record);
                side.now[key] = record;
                side.did[key] = Did::Created;
            } else if (pick(3) == 0) {
                side.store.contacts().RemoveByEmail(key);
                side.now.erase(key);
                side.did[key] = Did::Deleted;
            } else {
                ContactRecord record;
                side.store.contacts().GetByEmail(key, record);
                const int field = pick(ContactRecord::kFieldCount);
                std::string changed = value();
                if (changed == record.GetField(field)) changed += "!";  // an edit changes it
                record.SetField(field, changed);
                side.store.contacts().PutByEmail(record);
                side.now[key] = record;
                side.did[key] = Did::Edited;
            }
        }
    }

    // What both sides must hold after the run.
    static std::map<std::string, ContactRecord> expected(
        const std::map<std::string, ContactRecord>& before, const Side& remote, const Side& local) {
        std::map<std::string, ContactRecord> out;
        std::map<std::string, bool> keys;
        for (const auto& [key, record] : before) keys[key] = true;
        for (const auto& [key, record] : remote.now) keys[key] = true;
        for (const auto& [key, record] : local.now) keys[key] = true;
        for (const auto& [key, unused] : keys) {
            const Did r = didOn(remote, key);
            const Did l = didOn(local, key);
            const bool kept = r == Did::Edited || l == Did::Edited || r == Did::Created ||
                              l == Did::Created || (r == Did::Nothing && l == Did::Nothing);
            if (!kept || !(remote.now.contains(key) || local.now.contains(key))) continue;
            if (!remote.now.contains(key)) {
                out[key] = local.now.at(key);
            } else if (!local.now.contains(key)) {
                out[key] = remote.now.at(key);
            } else {
                out[key] = merged(before, remote.now.at(key), local.now.at(key), key);
            }
        }
        return out;
    }

  private:
    static Did didOn(const Side& side, const std::string& key) {
        const auto it = side.did.find(key);
        return it == side.did.end() ? Did::Nothing : it->second;
    }
    // Per field: the server's change wins, else the local change; two new contacts under
    // one address keep the non-empty value, the server's first.
    static ContactRecord merged(const std::map<std::string, ContactRecord>& before,
                                const ContactRecord& r, const ContactRecord& l,
                                const std::string& key) {
        ContactRecord out = r;
        const auto old = before.find(key);
        for (int i = 0; i < ContactRecord::kFieldCount; ++i) {
            const std::string rv = r.GetField(i);
            const std::string lv = l.GetField(i);
            if (old == before.end()) {
                out.SetField(i, rv.empty() ? lv : rv);
            } else if (rv == old->second.GetField(i)) {
                out.SetField(i, lv);
            }
        }
        return out;
    }
    static std::string asciiUpper(std::string text) {
        for (char& c : text) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        return text;
    }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    std::string value() { return pick(4) == 0 ? std::string() : "v" + std::to_string(pick(5)); }

    std::mt19937 rng_;
};

std::map<std::string, ContactRecord> byKey(const ContactList& list) {
    std::map<std::string, ContactRecord> out;
    for (const auto& record : list) out[asciiLowerCopy(record.email())] = record;
    return out;
}

void expectSameFields(const ContactRecord& actual, const ContactRecord& expected,
                      const std::string& where) {
    for (int i = 0; i < ContactRecord::kFieldCount; ++i) {
        EXPECT_EQ(actual.GetField(i), expected.GetField(i)) << where << " field " << i;
    }
}

TEST(ContactSyncRandomTest, EveryRunKeepsWhatTheUserKeptAndDropsWhatTheUserDeleted) {
    SyncContext context;
    context.folderName = "Private";
    SyncLog log;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        UserModel user(seed);
        Side remote;
        Side local;
        std::map<std::string, ContactRecord> state;
        for (int round = 0; round < 150; ++round) {
            const std::string where =
                "seed " + std::to_string(seed) + " round " + std::to_string(round);
            user.act(remote, state);
            user.act(local, state);
            const auto expected = UserModel::expected(state, remote, local);
            ContactSyncEngine engine(context, log);
            ASSERT_EQ(engine.Synchronize(SYNCH_SYNCH, &remote.store, &local.store), 0) << where;

            const auto onServer = byKey(remote.store.contacts());
            const auto onDesktop = byKey(local.store.contacts());
            ASSERT_EQ(onServer.size(), expected.size()) << where;
            ASSERT_EQ(onDesktop.size(), expected.size()) << where;
            for (const auto& [key, record] : expected) {
                ASSERT_TRUE(onServer.contains(key) && onDesktop.contains(key)) << where << key;
                expectSameFields(onServer.at(key), record, where + " server " + key);
                expectSameFields(onDesktop.at(key), record, where + " desktop " + key);
            }
            // Histories hold exactly the contacts that exist, so none can be mistaken for
            // a deletion later.
            EXPECT_EQ(byKey(remote.store.history()).size(), expected.size()) << where;
            EXPECT_EQ(byKey(local.store.history()).size(), expected.size()) << where;
            if (::testing::Test::HasFailure()) return;
            state = expected;
        }
    }
}

}  // namespace
}  // namespace vellix
