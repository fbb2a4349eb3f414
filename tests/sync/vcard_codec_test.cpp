#include <gtest/gtest.h>

#include "sync/vcard_codec.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

TEST(VcardCodecTest, ReadsWhatOtherProgramsWrite) {
    const struct {
        const char* lines;  // between BEGIN and END, LF line ends
        ContactText field;
        const char* expected;
    } cases[] = {
        {"EMAIL:a@x\nEMAIL;TYPE=work:b@x", ContactText::email2, "b@x"},
        {"item1.EMAIL;type=INTERNET:a@x", ContactText::email, "a@x"},
        {"N:Doe;Jane;Q;;", ContactText::middleName, "Q"},
        {"FN:Jane\n  Doe", ContactText::fullName, "Jane Doe"},  // folded line
        {"NOTE:one\\ntwo\\, three\\; four", ContactText::comment, "one\r\ntwo, three; four"},
        {"ADR;TYPE=work:;;1 Main St\\nFloor 2;Town;ST;123;Land", ContactText::busAddress,
         "1 Main St\r\nFloor 2"},
        {"ADR;TYPE=work:;;1 Main St;Town;ST;123;Land", ContactText::busZipCode, "123"},
        {"ADR;HOME:;;Street;City", ContactText::homeCity, "City"},
        {"TEL;TYPE=work,fax:1\nTEL;TYPE=WORK;TYPE=VOICE:2", ContactText::busPhone, "2"},
        {"TEL;TYPE=CELL:3", ContactText::homeMobile, "3"},
        {"ORG:Acme;Sales", ContactText::busDepartment, "Sales"},
        {"X-UNKNOWN;FOO=\"a:b\":c\nTITLE:Boss", ContactText::busTitle, "Boss"},
        {"CATEGORIES:friends,work", ContactText::categories, "friends,work"},
    };
    for (const auto& c : cases) {
        const std::string text = std::string("BEGIN:VCARD\r\nVERSION:3.0\r\n") + c.lines +
                                 "\r\nEND:VCARD\r\nFN:after\r\n";
        EXPECT_EQ(parseVcard(text).record.text(c.field), c.expected) << c.lines;
    }
    EXPECT_EQ(parseVcard("BEGIN:VCARD\nUID:u-1\nEND:VCARD\n").uid, "u-1");
}

TEST(VcardCodecTest, WrittenCardsReadBackWhole) {
    ContactRecord full;
    for (int i = 0; i < ContactRecord::kFieldCount; ++i) {
        // IM addresses have no place in a card.
        if (*contactFieldText(i) != ContactText::IMAddress)
            full.SetField(i, "v" + std::to_string(i) + ";,\\");
    }
    full.setEmail("a@x");
    full.setComment("line 1\r\nline 2 " + std::string(200, 'x') + " \xe4\xb8\xad\xe6\x96\x87");
    full.setCategories("friends,work");
    const std::string card = writeVcard(full, "uid-1", "Doe");
    std::size_t start = 0;
    for (std::size_t end; (end = card.find("\r\n", start)) != std::string::npos; start = end + 2) {
        EXPECT_LE(end - start, 75u);
    }
    const VcardContact read = parseVcard(card);
    EXPECT_EQ(read.uid, "uid-1");
    for (int i = 0; i < ContactRecord::kFieldCount; ++i) {
        EXPECT_EQ(read.record.GetField(i), full.GetField(i)) << i;
    }
    EXPECT_EQ(read.record.email(), "a@x");
}

}  // namespace
}  // namespace vellix
