#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "sync/ascii_case.h"
#include "sync/contact_list.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

using testing::contact;
using testing::records;

std::vector<std::string> emailsOf(const ContactList& list) {
    std::vector<std::string> out;
    for (const auto& record : list) out.push_back(record.email);
    return out;
}

TEST(ContactListTest, AddKeepsTheFirstOfEqualGuidsAppendKeepsBoth) {
    ContactList list;
    list.Add(contact("a@x", "A", "ABCDEF"));
    list.Add(contact("b@x", "B", "abcdef"));  // same guid, other letter case
    list.Append(contact("c@x", "C", "abcdef"));
    EXPECT_EQ(emailsOf(list), (std::vector<std::string>{"a@x", "c@x"}));
    ASSERT_NE(list.FindByGuid("AbCdEf"), nullptr);
    EXPECT_EQ(list.FindByGuid("AbCdEf")->email, "a@x");
    EXPECT_EQ(list.FindByGuid("abcde"), nullptr);

    list.Add(contact("d@x"));  // no guid: given a new one
    list.PutByEmail(contact("e@x"));
    EXPECT_TRUE(testing::isGuidText(records(list)[2].guid));
    EXPECT_TRUE(testing::isGuidText(records(list)[3].guid));
    EXPECT_NE(records(list)[2].guid, records(list)[3].guid);
}

TEST(ContactListTest, CopiesAndMovesKeepWorkingIndexes) {
    ContactList list;
    list.Append(contact("a@x", "A", "g1"));
    ContactList copy = list;
    copy.RemoveByEmail("a@x");
    ContactList moved = std::move(list);
    moved.PutByEmail(contact("A@X", "A2", "g2"));
    EXPECT_FALSE(copy.ContainsEmail("a@x"));
    ASSERT_NE(moved.FindByGuid("g2"), nullptr);
    EXPECT_EQ(moved.FindByGuid("g2")->fullName, "A2");
}

// The indexes must answer exactly as a linear search in list order would.
TEST(ContactListTest, IndexedLookupsAgreeWithLinearSearchOverRandomEdits) {
    std::mt19937 random(12345);
    const std::vector<std::string> emails = {"a@x", "A@X", "b@x", "B@x", "", "c@x"};
    const std::vector<std::string> guids = {"g1", "G1", "g2", "g3", "G3"};
    auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };

    ContactList list;
    std::vector<ContactRecord> model;
    auto linearByEmail = [&](const std::string& email) {
        for (std::size_t i = 0; i < model.size(); ++i) {
            if (equalsNoCase(model[i].email, email)) return static_cast<int>(i);
        }
        return -1;
    };
    auto linearByGuid = [&](const std::string& guid) {
        for (std::size_t i = 0; i < model.size(); ++i) {
            if (equalsNoCase(model[i].guid, guid)) return static_cast<int>(i);
        }
        return -1;
    };

    for (int step = 0; step < 4000; ++step) {
        ContactRecord record = contact(pick(emails), "n" + std::to_string(step), pick(guids));
        switch (random() % 4) {
            case 0:
                if (linearByGuid(record.guid) < 0) model.push_back(record);
                list.Add(record);
                break;
            case 1:
                model.push_back(record);
                list.Append(record);
                break;
            case 2: {
                const int at = linearByEmail(record.email);
                if (at >= 0) {
                    model[static_cast<std::size_t>(at)] = record;
                } else {
                    model.push_back(record);
                }
                list.PutByEmail(record);
                break;
            }
            default: {
                const int at = linearByEmail(record.email);
                if (at >= 0) model.erase(model.begin() + at);
                list.RemoveByEmail(record.email);
            }
        }
        ASSERT_EQ(list.size(), model.size()) << "step " << step;
        for (const auto& email : emails) {
            ContactRecord out;
            const int at = linearByEmail(email);
            ASSERT_EQ(list.GetByEmail(email, out), at >= 0) << "step " << step;
            if (at >= 0) {
                ASSERT_EQ(out, model[static_cast<std::size_t>(at)]) << "step " << step;
            }
        }
        for (const auto& guid : guids) {
            const int at = linearByGuid(guid);
            const ContactRecord* found = list.FindByGuid(guid);
            ASSERT_EQ(found != nullptr, at >= 0) << "step " << step;
            if (found) {
                ASSERT_EQ(*found, model[static_cast<std::size_t>(at)]) << "step " << step;
            }
        }
    }
    EXPECT_EQ(records(list), model);
}

}  // namespace
}  // namespace vellix
