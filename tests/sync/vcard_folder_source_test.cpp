#include <gtest/gtest.h>

#include <filesystem>

#include "sync/vcard_folder_source.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

namespace fs = std::filesystem;

// A card as another program leaves it: its own properties, folded, LF line ends.
constexpr const char* kForeign =
    "BEGIN:VCARD\nVERSION:3.0\nUID:their-uid\nFN:Ann Lee\nN:Lee;Ann;;;\n"
    "EMAIL;TYPE=home:Ann@X\nBDAY:1990-01-02\nPHOTO;ENCODING=b;TYPE=JPEG:AAAA\n BBBB\n"
    "END:VCARD\n";

TEST(VcardFolderSourceTest, FindsCardsByFirstEmailAndKeepsWhatItDoesNotMap) {
    test::TempFolder dir;
    fs::create_directories(dir.file("Work"));
    dir.write("Personal/a.vcf", kForeign);
    dir.write("Personal/b.vcf", "BEGIN:VCARD\nFN:No Mail\nEND:VCARD\n");
    dir.write("Personal/notes.txt", "not a card");

    VcardFolderSource source(dir.path(), false);
    std::vector<std::string> names;
    ASSERT_TRUE(source.ListFolders(names));
    EXPECT_EQ(names, (std::vector<std::string>{"Personal", "Work"}));
    EXPECT_FALSE(source.OpenFolder("..", ""));
    ASSERT_TRUE(source.OpenFolder("", "Personal"));
    std::vector<std::string> emails;
    ASSERT_EQ(source.ListEmails(emails), 0);
    EXPECT_EQ(emails, (std::vector<std::string>{"Ann@X"}));  // the card without e-mail is unseen

    ContactRecord ann;
    ASSERT_EQ(source.GetContact("ann@x", ann), 0);
    EXPECT_EQ(ann.fullName(), "Ann Lee");
    ann.setBusPhone("555");
    ASSERT_EQ(source.UpdateContact(ann), 0);
    const std::string card = dir.read("Personal/a.vcf");
    for (const char* kept :
         {"UID:their-uid", "BDAY:1990-01-02", "PHOTO;ENCODING=b;TYPE=JPEG:AAAA\n BBBB",
          "TEL;TYPE=work:555", "SORT-AS=\"Ann Lee\""}) {
        EXPECT_NE(card.find(kept), std::string::npos) << kept;
    }

    ASSERT_EQ(source.AddContact(testing::contact("new@x", "New")), 0);
    EXPECT_EQ(source.ContactExists("NEW@x"), 1);
    ASSERT_EQ(source.RemoveContact("ann@x"), 0);
    EXPECT_FALSE(fs::exists(dir.file("Personal/a.vcf")));
    emails.clear();
    ASSERT_EQ(source.ListEmails(emails), 0);
    EXPECT_EQ(emails, (std::vector<std::string>{"new@x"}));
    // Only the new card and the two files that are not contacts are left; no temporaries.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("Personal")), {}), 3);
}

}  // namespace
}  // namespace vellix
