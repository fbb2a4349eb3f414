#include <gtest/gtest.h>

#include "sync/contact_record.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

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
