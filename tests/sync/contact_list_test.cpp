#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/ascii_case.h"
#include "sync/contact_list.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

using testing::contact;
using testing::records;

// Which of equal guids or emails wins is the random test's; here, what it cannot see.
TEST(ContactListTest, MissingGuidsAreGeneratedAndCopiesIndexOnTheirOwn) {
    ContactList list;
    list.Add(contact("a@x", "A", "ABCDEF"));
    list.Add(contact("d@x"));  // no guid: given a new one
    list.PutByEmail(contact("e@x"));
    EXPECT_TRUE(testing::isGuidText(records(list)[1].guid()));
    EXPECT_TRUE(testing::isGuidText(records(list)[2].guid()));
    EXPECT_NE(records(list)[1].guid(), records(list)[2].guid());

    // Copies and moves carry working indexes of their own.
    ContactList copy = list;
    copy.RemoveByEmail("a@x");
    ContactList moved = std::move(list);
    moved.PutByEmail(contact("A@X", "A2", "g2"));
    EXPECT_FALSE(copy.ContainsEmail("a@x"));
    ASSERT_NE(moved.FindByGuid("g2"), nullptr);
    EXPECT_EQ(moved.FindByGuid("g2")->fullName(), "A2");
}

// The indexes must answer exactly as a linear search in list order would.
TEST(ContactListTest, IndexedLookupsAgreeWithLinearSearchOverRandomEdits) {
    std::mt19937 random(12345);
    const std::vector<std::string> emails = {"a@x", "A@X", "b@x", "B@x", "", "c@x"};
    const std::vector<std::string> guids = {"g1", "G1", "g2", "g3", "G3"};
    auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };

    ContactList list;
    std::vector<ContactRecord> model;
    auto linear = [&](ContactText key, std::string_view value) {
        for (std::size_t i = 0; i < model.size(); ++i) {
            if (equalsNoCase(model[i].text(key), value)) return static_cast<int>(i);
        }
        return -1;
    };
    for (int step = 0; step < 4000; ++step) {
        SCOPED_TRACE(step);
        ContactRecord record = contact(pick(emails), "n" + std::to_string(step), pick(guids));
        const int at = linear(ContactText::email, record.email());
        switch (random() % 4) {
            case 0:
                if (linear(ContactText::guid, record.guid()) < 0) model.push_back(record);
                list.Add(record);
                break;
            case 1:
                model.push_back(record);
                list.Append(record);
                break;
            case 2:
                if (at >= 0) model[static_cast<std::size_t>(at)] = record;
                if (at < 0) model.push_back(record);
                list.PutByEmail(record);
                break;
            default:
                if (at >= 0) model.erase(model.begin() + at);
                list.RemoveByEmail(record.email());
        }
        ASSERT_EQ(list.size(), model.size());
        for (const auto& email : emails) {
            ContactRecord out;
            const int found = linear(ContactText::email, email);
            ASSERT_EQ(list.GetByEmail(email, out), found >= 0);
            if (found >= 0) {
                ASSERT_EQ(out, model[static_cast<std::size_t>(found)]);
            }
        }
        for (const auto& guid : guids) {
            const int found = linear(ContactText::guid, guid);
            const ContactRecord* byGuid = list.FindByGuid(guid);
            ASSERT_EQ(byGuid != nullptr, found >= 0);
            if (byGuid) {
                ASSERT_EQ(*byGuid, model[static_cast<std::size_t>(found)]);
            }
        }
    }
    EXPECT_EQ(records(list), model);
}

TEST(ContactRecordTest, PackedTextsChangeOneFieldAtATime) {
    ContactRecord record = testing::contact("a@x", "A", "g");
    const ContactRecord before = record;
    for (int index : {-1, 36, 41, 1000}) {
        record.SetField(index, "x");
        EXPECT_EQ(record.GetField(index), "") << index;
    }
    EXPECT_EQ(record, before);
    // A value viewing the record's own block survives the rebuild.
    record.setComment(record.email());
    record.setEmail({});
    record.SetField(0, "B");
    EXPECT_EQ(record.comment(), "a@x");
    EXPECT_EQ(record.email(), "");
    EXPECT_EQ(record.fullName(), "B");
    EXPECT_EQ(record.guid(), "g");
}

}  // namespace
}  // namespace vellix
