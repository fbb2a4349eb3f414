// The Address Book page: its rules as a table, then the page over a real vCard root: the
// folder lists come from the store, switching on warns and drops the histories, Apply
// refuses what a run could not do and writes what it can, and a run's progress shows.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <filesystem>
#include <fstream>

#include "options_fixture.h"
#include "sync/address_book_frame.h"
#include "ui/address_book_page.h"
#include "ui/address_book_rules.h"
#include "ui/options_frame.h"
#include "ui/standard_pages.h"

namespace vellix {
namespace {

ContactsSettings formOf(const char* store, bool on, const char* pub, const char* priv) {
    ContactsSettings s;
    s.enableSync = on;
    s.synchWith = store;
    s.publicFolder = pub;
    s.privateFolder = priv;
    return s;
}

TEST(AddressBookRules, ApplyRefusalsAndStaleHistories) {
    struct Case {
        ContactsSettings form;
        AddressBookRefusal refusal;
    } refusals[] = {
        {formOf("WAB", true, "Work", "Work"), AddressBookRefusal::SameFolder},
        {formOf("WAB", true, "", ""), AddressBookRefusal::NoFolder},
        {formOf("WAB", false, "", ""), AddressBookRefusal::None},  // off needs no folder
        {formOf("MAPI", true, "Work", ""), AddressBookRefusal::None},
        {formOf("MAPI", true, "Work", "Home"), AddressBookRefusal::None},
    };
    for (const auto& c : refusals) EXPECT_EQ(checkAddressBookApply(c.form), c.refusal);

    const auto before = formOf("MAPI", true, "Work", "Home");
    auto rooted = before;
    rooted.vcardFolders = "/elsewhere";
    struct Reset {
        ContactsSettings after;
        HistoryReset reset;
    } resets[] = {
        {before, {false, false}},
        {formOf("mapi", false, "Work", "Home"), {false, false}},
        {formOf("WAB", true, "Work", "Home"), {true, true}},
        {rooted, {true, true}},
        {formOf("MAPI", true, "Other", "Home"), {true, false}},
        {formOf("MAPI", true, "Work", "Other"), {false, true}},
    };
    for (const auto& c : resets) EXPECT_EQ(historiesToReset(before, c.after), c.reset);
    EXPECT_EQ(folderIndex({"Home", "Work"}, "work"), 0);  // names match exactly
}

class AddressBookPageTest : public test::OptionsFixture {
  protected:
    void SetUp() override {
        OptionsFixture::SetUp();
        recorders[FrameKind::AddressBook] = threads.record(FrameKind::AddressBook);
        logIn(false);
        session.update([](SessionState& s) { s.account = "alice@demo.local"; });
        user = dir.path() + "/alice@demo.local/";
        for (const char* book : {"alice@demo.local", "books/Work", "books/Home"}) {
            std::filesystem::create_directories(dir.path() + "/" + book);
        }
        context.contactSync = &state;
        // The vCard store only: the desktop's book stands for one that cannot be opened.
        context.openContactStore = [](const ContactsSettings& s) {
            return s.synchWith == "MAPI" ? openLocalContactStore(s, false) : nullptr;
        };
    }
    bool has(const std::string& name) const { return std::filesystem::exists(user + name); }

    ContactSyncState state;
    std::string user;
};

TEST_F(AddressBookPageTest, FillsFromTheStoreWarnsRefusesAndWrites) {
    std::ofstream(user + "contacts.ini") << "[LDAP]\nEnableSync=No\nPrivateFolder=Home\n"
                                            "[Vellix]\nSynchWith=MAPI\nVcardFolders="
                                         << dir.path() << "/books\n";
    for (const char* name : {"public-local.xml", "private-remote.xml"}) {
        std::ofstream(user + name) << "<addressBook/>";
    }
    OptionsFrame options(OptionsFrameDeps{.context = context, .pages = {addressBookPageEntry()}},
                         clock);
    auto* page =
        qobject_cast<Property_AddressBookPage*>(options.open("address book")->activePage());
    ASSERT_NE(page, nullptr);
    // Switched off: only the configured folder, nothing opened.
    EXPECT_EQ(page->privateList()->count(), 1);
    EXPECT_EQ(page->publicList()->count(), 0);

    answerBoxes();
    page->enableBox()->setChecked(true);
    ASSERT_EQ(shownBoxes.size(), 1u);
    EXPECT_EQ(shownBoxes[0], strings.text(IDS_AB_MERGE_NOTICE));
    EXPECT_FALSE(has("public-local.xml"));
    EXPECT_FALSE(has("private-remote.xml"));
    ASSERT_EQ(page->publicList()->count(), 2);
    EXPECT_EQ(page->privateList()->currentText(), QStringLiteral("Home"));
    EXPECT_EQ(page->publicList()->currentText(), QStringLiteral("Home"));  // the first

    EXPECT_FALSE(options.sheet()->apply());  // both into Home
    EXPECT_EQ(shownBoxes.back(), strings.text(IDS_AB_SAME_FOLDER));
    page->publicList()->setCurrentIndex(1);
    EXPECT_TRUE(options.sheet()->apply());
    const ContactsSettings saved = ContactsSettings::read(ProfileFile(user + "contacts.ini"));
    EXPECT_TRUE(saved.enableSync && saved.publicFolder == "Work" && saved.synchWith == "MAPI");
    EXPECT_EQ(readContactFolders(user + "confolder.dat").valueOr({}),
              (ContactFolderIds{"Work", "Home"}));
    ASSERT_TRUE(recorders.at(FrameKind::AddressBook)->waitForMessages(1));
    EXPECT_EQ(ids(FrameKind::AddressBook).back(), UM_SYNC_SETTINGS_CHANGED);

    // "Synchronize now" applies, then asks the frame for a run; Cancel asks the run to stop.
    page->setConfirm([](const std::string&) { return true; });
    page->synchronizeNow();
    ASSERT_TRUE(recorders.at(FrameKind::AddressBook)->waitForMessages(2));
    EXPECT_EQ(recorders.at(FrameKind::AddressBook)->messages().back().id, WM_TIMER);
    EXPECT_EQ(recorders.at(FrameKind::AddressBook)->messages().back().w, WParam{kSyncTimer});
    page->cancelRun();
    EXPECT_TRUE(state.cancelRequested);

    // A store that cannot be opened is said so, and the configured folders stay.
    page->storeList()->setCurrentIndex(0);
    EXPECT_TRUE(page->folderProblem()->isVisibleTo(page));
    EXPECT_TRUE(page->folderProblem()->text().contains(QStringLiteral("could not be opened")));
    EXPECT_EQ(page->publicList()->currentText(), QStringLiteral("Work"));

    // A run's lines and its end, as the address-book frame posts them.
    options.post(UM_SYNC_STATUS, 0, 0, makePayload(syncStatusText("Public", "Synching a@x")));
    QApplication::processEvents();
    EXPECT_TRUE(page->showsRunning());
    EXPECT_EQ(page->progressText()->text(), QStringLiteral("Public Contacts:\nSynching a@x"));
    options.post(UM_SYNC_FINISHED, static_cast<WParam>(ContactSyncOutcome::Failed));
    QApplication::processEvents();
    EXPECT_FALSE(page->showsRunning());
    EXPECT_TRUE(page->progressText()->text().contains(QString::fromStdString(user + "synch.log")));

    // Another vCard root is read when typed in: this one holds no address book.
    page->storeList()->setCurrentIndex(1);
    page->vcardRootEdit()->setText(QString::fromStdString(dir.path() + "/books/Work"));
    Q_EMIT page->vcardRootEdit()->editingFinished();
    EXPECT_TRUE(page->folderProblem()->text().contains(QStringLiteral("no address book")));
}

}  // namespace
}  // namespace vellix
