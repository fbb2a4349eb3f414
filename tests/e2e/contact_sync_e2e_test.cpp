// The real vellix keeps the server's contacts and a folder of vCard address books in step:
// a login starts the address-book thread, its timer runs the synchronization, and an edit
// made in a card reaches the server on the next run. Time runs at 1/20, so a one-minute
// period is 3 s.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <algorithm>
#include <fstream>
#include <thread>

#include "support/sim_process.h"
#include "support/vellix_process.h"
#include "support/wait.h"

namespace vellix {
namespace {

using namespace std::chrono_literals;

QByteArray cardsOf(const QString& folder) {
    QByteArray all;
    QDirIterator cards(folder, {QStringLiteral("*.vcf")}, QDir::Files);
    while (cards.hasNext()) {
        QFile card(cards.next());
        if (card.open(QIODevice::ReadOnly)) all += card.readAll();
    }
    return all;
}

TEST(ContactSyncE2eTest, ServerContactsReachTheVcardFoldersAndACardEditReachesTheServer) {
    test::VellixHome home;
    const QDir root(home.path());
    const std::string seed = root.filePath(QStringLiteral("seed.ini")).toStdString();
    std::ofstream(seed) << "[public-contacts]\ncontact = desk@example.org|Front Desk\n"
                           "[account alice@demo.local]\npassword = alice\n"
                           "flags = modifyglobalcontacts\nsettings = [Vellix]\\nInterval=60\\n\n"
                           "contact = friend@example.net|Old Friend\n";
    test::SimProcess sim({"--path", "/skyloom/app.dll", "--seed", seed});
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_TRUE(home.writeProfile(sim.url(), "alice@demo.local", "alice"));
    for (const char* folder : {"data/contacts/Public", "data/contacts/Private"})
        ASSERT_TRUE(root.mkpath(QLatin1String(folder)));
    ASSERT_TRUE(root.mkpath(QStringLiteral("data/Vellix/alice@demo.local")));
    std::ofstream(
        root.filePath(QStringLiteral("data/Vellix/alice@demo.local/contacts.ini")).toStdString())
        << "[LDAP]\nEnableSync=Yes\nSyncInterval=1\nPublicFolder=Public\nPrivateFolder=Private\n"
           "[Vellix]\nSynchWith=MAPI\n";

    QProcessEnvironment env = home.environment();
    env.insert(QStringLiteral("VELLIX_TIME_SCALE"), QStringLiteral("0.05"));
    test::VellixProcess vellix(home, {});
    vellix.setEnvironment(env);
    vellix.start();

    // The run's requests: the session check, then each folder fetched and stored, all with
    // the address-book agent.
    const auto sent = [&](const std::string& word) {
        const auto log = sim.request_log();
        return std::any_of(log.begin(), log.end(), [&](const test::LoggedRequest& r) {
            return r.query.find(word) != std::string::npos && r.user_agent == "Vellix_Addr";
        });
    };
    const QString privateBook = root.filePath(QStringLiteral("data/contacts/Private"));
    ASSERT_TRUE(test::runUntil([&] {
        return cardsOf(root.filePath(QStringLiteral("data/contacts/Public")))
                   .contains("desk@example.org") &&
               cardsOf(privateBook).contains("friend@example.net") &&
               sent("&SetContacts_80=private");  // the end of the first run
    })) << vellix.trace();
    for (const char* word : {"&GetSession=Yes", "&GetContacts=public", "&GetContacts=private",
                             "&SetContacts_80=public", "&SetContacts_80=private"})
        EXPECT_TRUE(sent(word)) << word;

    // The user renames the friend in the card; the next run stores the new name.
    QDirIterator cards(privateBook, {QStringLiteral("*.vcf")}, QDir::Files);
    ASSERT_TRUE(cards.hasNext());
    QFile card(cards.next());
    ASSERT_TRUE(card.open(QIODevice::ReadOnly));
    const QByteArray edited = card.readAll().replace("Old Friend", "New Friend");
    card.close();
    ASSERT_TRUE(card.open(QIODevice::WriteOnly | QIODevice::Truncate));
    card.write(edited);
    card.close();
    EXPECT_TRUE(test::runUntil([&] {
        const auto now = sim.request_log();
        return std::any_of(now.begin(), now.end(), [](const test::LoggedRequest& r) {
            return r.query.find("SetContacts_80=private") != std::string::npos &&
                   r.body.find("New Friend") != std::string::npos;
        });
    })) << vellix.trace();

    vellix.terminate();
    EXPECT_TRUE(vellix.waitForEnd());
    EXPECT_EQ(vellix.exitCode(), 0);
}

}  // namespace
}  // namespace vellix
