// The desktop's address book as the local store, against the real service on a private bus:
// the field map alone, then whole runs between skyloom-sim and the book.
#include <gtest/gtest.h>
#include <libebook/libebook.h>

#include <fstream>
#include <set>

#include "support/eds_session.h"
#include "support/sim_process.h"
#include "sync/address_book_frame.h"
#include "sync/contact_xml.h"
#include "sync/eds_contact_fields.h"
#include "sync/glib_handles.h"
#include "sync_test_support.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELLIX_EDS_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(VELLIX_EDS_ASAN)
// The library's own leak (tests/lsan.supp) is matched by a frame the fast unwinder misses.
extern "C" const char* __asan_default_options();
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
#endif

namespace vellix {
namespace {

using T = ContactText;

std::string cardText(gpointer contact) {
    const glib::Chars card(e_vcard_to_string(static_cast<EVCard*>(contact), EVC_FORMAT_VCARD_30));
    return card.get();
}

TEST(EdsContactFieldsTest, StoredFieldsRoundTripAndWhatTheStoreDoesNotMapStays) {
    const std::set<T> notStored = {T::guid,      T::email2,     T::email3,      T::categories,
                                   T::IMAddress, T::busIPPhone, T::busAssistant};
    ContactRecord full;
    for (int i = 0; i < ContactRecord::kFieldCount; ++i) full.SetField(i, "v" + std::to_string(i));
    full.setEmail("ann@x");
    full.setHomeAddress("1 Main St\r\nFlat 2");
    full.setComment("two\r\nlines");
    const glib::Object<EContact> contact(e_contact_new());
    ASSERT_TRUE(applyRecordToEContact(full, contact.get()));
    const ContactRecord back = recordFromEContact(contact.get());
    for (int i = 0; i < ContactRecord::kFieldCount; ++i) {
        const T field = *contactFieldText(i);
        EXPECT_EQ(back.text(field), notStored.count(field) ? "" : full.text(field)) << i;
    }
    EXPECT_FALSE(applyRecordToEContact(full, contact.get()));  // unchanged: nothing to send
    // The book would make name parts up from a full name; the card keeps none.
    const glib::Object<EContact> named(e_contact_new());
    applyRecordToEContact(testing::contact("b@x", "Dr. Bo Berg Jr."), named.get());
    EXPECT_NE(cardText(named.get()).find("\nN:;;;;\r"), std::string::npos) << cardText(named.get());

    // Another program's contact: a title, a second e-mail, a birthday and its untyped home
    // page stay where they are when the record's fields are written over it.
    const glib::Object<EContact> foreign(e_contact_new_from_vcard(
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Lee\r\nN:Lee;Ann;;Dr.;\r\nEMAIL;TYPE=WORK:ann@x\r\n"
        "EMAIL;TYPE=HOME:ann@home\r\nBDAY:1990-01-02\r\nURL:http://old\r\nEND:VCARD\r\n"));
    ContactRecord ann = recordFromEContact(foreign.get());
    EXPECT_EQ(ann.firstName(), "Ann");
    EXPECT_EQ(ann.homeWebAddress(), "http://old");
    ann.setFirstName("");
    ann.setBusPhone("555");
    ann.setHomeWebAddress("http://new");
    ASSERT_TRUE(applyRecordToEContact(ann, foreign.get()));
    for (const char* kept : {"N:Lee;;;Dr.;", "EMAIL;TYPE=HOME:ann@home", "BDAY:1990-01-02",
                             "URL:http://new", "TEL;TYPE=WORK,VOICE:555"})
        EXPECT_NE(cardText(foreign.get()).find(kept), std::string::npos) << kept;
}

// What another program on the desktop sees in the default book, and edits there.
class OtherProgram {
  public:
    OtherProgram() {
        const glib::Object<ESourceRegistry> registry(e_source_registry_new_sync(nullptr, nullptr));
        const glib::Object<ESource> book(
            e_source_registry_ref_default_address_book(registry.get()));
        client_.reset(reinterpret_cast<EBookClient*>(
            e_book_client_connect_sync(book.get(), static_cast<guint32>(-1), nullptr, nullptr)));
    }
    std::string cards() const {
        std::string all;
        GSList* contacts = nullptr;
        e_book_client_get_contacts_sync(client_.get(), "", &contacts, nullptr, nullptr);
        for (GSList* at = contacts; at; at = at->next) all += cardText(at->data);
        g_slist_free_full(contacts, g_object_unref);
        return all;
    }
    bool rename(const char* email, const char* fullName) const {
        const glib::Chars sexp(g_strdup_printf("(is \"email\" \"%s\")", email));
        GSList* found = nullptr;
        e_book_client_get_contacts_sync(client_.get(), sexp.get(), &found, nullptr, nullptr);
        if (found)
            e_contact_set(static_cast<EContact*>(found->data), E_CONTACT_FULL_NAME, fullName);
        const bool done = found && e_book_client_modify_contact_sync(
                                       client_.get(), static_cast<EContact*>(found->data),
                                       E_BOOK_OPERATION_FLAG_NONE, nullptr, nullptr);
        g_slist_free_full(found, g_object_unref);
        return done;
    }

  private:
    glib::Object<EBookClient> client_;
};

TEST(EdsContactSourceTest, ServerContactsReachTheBookAndEditsAndDeletionsCrossOver) {
    const auto& eds = test::EdsSession::shared();
    ASSERT_EQ(eds.error(), "");
    test::TempFolder user;
    std::ofstream(user.file("seed.ini")) << "[account alice@demo.local]\npassword = alice\n"
                                            "contact = friend@example.net|Old Friend\n"
                                            "contact = gone@example.net|Soon Gone\n";
    test::SimProcess sim({"--seed", user.file("seed.ini")});
    ASSERT_TRUE(sim.running()) << sim.error();
    const std::string session = sim.login("alice@demo.local", "alice");
    HttpContactServer server(
        {.url = sim.url(), .sessionId = session, .connection = {}, .trace = {}});
    ContactsSettings settings;
    settings.enableSync = true;
    settings.syncPublic = false;
    settings.privateFolder = "Personal";  // the service's default book
    const auto run = [&] {
        ContactSyncState state;
        ContactSyncRun({.userFolder = user.path() + "/",
                        .sessionId = session,
                        .server = &server,
                        .makeLocal = [&](auto) { return openLocalContactStore(settings, false); },
                        .state = &state,
                        .clock = systemLocalTime,
                        .showStatus = {}})
            .run(settings);
    };

    run();
    const OtherProgram desktop;
    for (const char* seen : {"FN:Old Friend", "friend@example.net", "gone@example.net"})
        EXPECT_NE(desktop.cards().find(seen), std::string::npos) << seen;
    EXPECT_NE(user.read("synch.log").find(" Using the Windows Address Book as the local contact"),
              std::string::npos);

    ASSERT_TRUE(desktop.rename("friend@example.net", "New Friend"));
    run();
    const std::string stored = server.fetchContacts("private").value_or("");
    EXPECT_NE(stored.find("New Friend"), std::string::npos);
    // The book made up no name parts of its own that would travel back as an edit.
    EXPECT_EQ(stored.find("[Soon]"), std::string::npos) << stored;

    // Another client drops a contact from the server's list; the next run drops the card.
    ContactList list;
    readContactXmlText(server.fetchContacts("private").value_or(""), list);
    list.RemoveByEmail("gone@example.net");
    ASSERT_NE(server.storeContacts("private", contactXmlText(list)).value_or("").find(">success<"),
              std::string::npos);
    run();
    EXPECT_EQ(desktop.cards().find("gone@example.net"), std::string::npos) << desktop.cards();
    EXPECT_NE(desktop.cards().find("FN:New Friend"), std::string::npos);
}

}  // namespace
}  // namespace vellix
