// The run against the real skyloom-sim and a vCard root that the real khard reads and
// writes: the server's contacts appear in khard's listing, a contact made with khard
// reaches the server, and a server that cuts its list short or refuses a store costs no
// contact on either side.
#include <gtest/gtest.h>

#include <QProcess>

#include <filesystem>
#include <fstream>

#include "support/sim_process.h"
#include "support/temp_folder.h"
#include "sync/address_book_frame.h"
#include "sync/http_contact_server.h"

namespace vellix {
namespace {

namespace fs = std::filesystem;

class ContactSyncSimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.valid());
        dir.write("seed.ini",
                  "[public-contacts]\ncontact = desk@example.org|Front Desk\n"
                  "[account alice@demo.local]\npassword = alice\nflags = modifyglobalcontacts\n"
                  "contact = friend@example.net|Old Friend\n");
        sim = std::make_unique<test::SimProcess>(
            std::vector<std::string>{"--path", "/skyloom/app.dll", "--seed", dir.file("seed.ini")});
        ASSERT_TRUE(sim->running()) << sim->error();
        session = sim->login("alice@demo.local", "alice");
        ASSERT_FALSE(session.empty());
        for (const char* folder : {"user", "books/Public", "books/Private"}) {
            fs::create_directories(dir.file(folder));
        }
        dir.write("config/khard/khard.conf",
                  "[addressbooks]\n[[Public]]\npath = " + dir.file("books/Public") +
                      "\n[[Private]]\npath = " + dir.file("books/Private") + "\n");
        settings.enableSync = true;
        settings.synchWith = kStoreVcardFolders;
        settings.vcardFolders = dir.file("books");
        settings.publicFolder = "Public";
        settings.privateFolder = "Private";
        state.mayModifyGlobalContacts = true;  // the seed's flag for alice
    }

    ContactSyncOutcome runOnce() {
        HttpContactServer server(ContactServerAddress{sim->url(), session, {}, {}});
        ContactSyncRun run(ContactSyncRunDeps{
            .userFolder = dir.file("user/"),
            .sessionId = session,
            .server = &server,
            .makeLocal =
                [this](std::string_view) { return openLocalContactStore(settings, false); },
            .state = &state,
            .clock = vellix::systemLocalTime,
            .showStatus = {},
        });
        return run.run(settings);
    }

    // khard's standard output, with its configuration in this test's folder.
    std::string khard(const QStringList& arguments) {
        QProcess process;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir.file("config")));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral("khard"), arguments);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(u' ').toStdString();
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return process.readAllStandardOutput().toStdString();
    }

    void khardNew(const char* book, const std::string& first, const std::string& email) {
        const std::string input = dir.write("new.yaml", "First name : " + first +
                                                            "\nLast name : Made\nEmail :\n"
                                                            "    work : " +
                                                            email + "\n");
        khard({QStringLiteral("new"), QStringLiteral("-a"), QString::fromLatin1(book),
               QStringLiteral("-i"), QString::fromStdString(input)});
    }

    std::string serverList(const char* folder) const {
        return test::http_get(
                   sim->url() + "?Session=" + session + "&View=StatusCheck&GetContacts=" + folder,
                   "Vellix_Addr")
            .body;
    }
    bool has(const char* history) const { return dir.exists(std::string("user/") + history); }

    test::TempFolder dir;
    std::unique_ptr<test::SimProcess> sim;
    std::string session;
    ContactsSettings settings;
    ContactSyncState state;
};

TEST_F(ContactSyncSimTest, KhardSeesTheServersContactsAndFaultsLoseNoContact) {
    ASSERT_EQ(runOnce(), ContactSyncOutcome::Done);
    const std::string first = khard({QStringLiteral("email"), QStringLiteral("--parsable")});
    EXPECT_NE(first.find("desk@example.org"), std::string::npos) << first;
    EXPECT_NE(first.find("friend@example.net"), std::string::npos) << first;

    // A contact made with khard; the public list then comes without its end: that pass
    // stops with its histories kept, and the private pass still stores the new contact.
    khardNew("Private", "Khard", "made@example.com");
    ASSERT_TRUE(sim->control("fault", {{"word", "GetContacts"}, {"kind", "unclosed"}}).ok());
    EXPECT_EQ(runOnce(), ContactSyncOutcome::Failed);
    EXPECT_TRUE(has("public-local.xml") && has("public-remote.xml"));
    EXPECT_NE(serverList("private").find("made@example.com"), std::string::npos);

    // Both stores refused: the histories go (the public remote one becomes the list the
    // server sent), so the next run merges instead of deleting.
    khardNew("Public", "Desk", "desk2@example.org");
    ASSERT_TRUE(
        sim->control("fault", {{"word", "SetContacts_80"}, {"kind", "refuse"}, {"count", "2"}})
            .ok());
    EXPECT_EQ(runOnce(), ContactSyncOutcome::Failed);
    EXPECT_FALSE(has("public-local.xml"));
    EXPECT_TRUE(has("public-remote.xml"));
    EXPECT_FALSE(has("private-local.xml") || has("private-remote.xml"));

    ASSERT_EQ(runOnce(), ContactSyncOutcome::Done);
    const std::string listed = khard({QStringLiteral("email"), QStringLiteral("--parsable")});
    const std::string stored = serverList("public") + serverList("private");
    for (const char* email :
         {"desk@example.org", "desk2@example.org", "friend@example.net", "made@example.com"}) {
        EXPECT_NE(listed.find(email), std::string::npos) << email;
        EXPECT_NE(stored.find(email), std::string::npos) << email;
    }
    EXPECT_NE(stored.find("Khard"), std::string::npos) << stored;
}

}  // namespace
}  // namespace vellix
