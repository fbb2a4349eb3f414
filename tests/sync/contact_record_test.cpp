#include <gtest/gtest.h>

#include <random>

#include "sync/contact_record.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

// The packed texts must read back as plain strings would, whatever order they are set in.
TEST(ContactRecordTest, PackedTextsBehaveAsSeparateStrings) {
    std::mt19937 random(7);
    std::array<std::string, kContactTextCount> model;
    ContactRecord record;
    for (int step = 0; step < 3000; ++step) {
        const auto field = static_cast<std::size_t>(random() % kContactTextCount);
        const auto length = random() % 4 == 0 ? 0 : random() % 40;
        model[field] = std::string(length, static_cast<char>('a' + step % 26));
        if (step % 3 == 0) {
            // A value viewing the record itself must survive the rebuild.
            model[field] = std::string(record.text(ContactText::email));
            record.setText(static_cast<ContactText>(field), record.email());
        } else {
            record.setText(static_cast<ContactText>(field), model[field]);
        }
        const ContactRecord copy = record;
        for (std::size_t i = 0; i < kContactTextCount; ++i) {
            ASSERT_EQ(copy.text(static_cast<ContactText>(i)), model[i]) << step << " " << i;
        }
        ASSERT_EQ(copy, record);
    }
    ContactRecord other = record;
    other.setComment(std::string(record.comment()) + "x");
    EXPECT_NE(other, record);
}

TEST(ContactRecordTest, NumbersOutsideTheFieldTableReachNothing) {
    ContactRecord record = testing::contact("a@x", "A", "g");
    const ContactRecord before = record;
    for (int index : {-1, 36, 41, 1000}) {
        record.SetField(index, "x");
        EXPECT_EQ(record.GetField(index), "") << index;
    }
    EXPECT_EQ(record, before);
    record.SetField(0, "B");
    EXPECT_EQ(record.fullName(), "B");
}

}  // namespace
}  // namespace vellix
