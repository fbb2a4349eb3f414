// File transfer end to end: real vellix processes under Xvfb, driven with key events through
// the conversation window, the file dialogs and the question. Where the sender must do what
// vellix never does (offer a hostile name), alice is a plain client of the status interface.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "desktop_users.h"
#include "support/sim_client.h"
#include "support/wait.h"

namespace vellix {
namespace {

using namespace std::chrono_literals;

class TransferE2eTest : public test::DesktopUsersTest {
  protected:
    std::string status(const std::vector<std::pair<std::string, std::string>>& params) const {
        return sim.url() + "?Session=" + alice + "&View=StatusCheck&" + test::query_string(params);
    }

    bool offer(const std::string& name, qsizetype size) const {
        return test::http_get(status({{"FileTransferRequest", "yes"},
                                      {"TransferTo", bob.account},
                                      {"FileName", name},
                                      {"FileSize", std::to_string(size)}}))
                   .status == 200;
    }

    // Bob's answer, read on alice's own long poll.
    bool answeredYes() const {
        std::string answer;
        test::runUntil([&] {
            answer = test::http_get(status({{"WaitForIM", "Yes"}})).body;
            return answer.find("<filetransferresponse>") != std::string::npos;
        });
        return answer.find("<sendfile>yes</sendfile>") != std::string::npos;
    }

    bool upload(const std::string& name, const QByteArray& bytes) const {
        test::HttpCall call;
        call.url = status({{"FileUpload", "Yes"}, {"TransferTo", bob.account}, {"FileName", name}});
        call.body = bytes.toStdString();
        call.content_type = "application/octet-stream";
        return test::http_request(call).status == 200;
    }

    // Bob says yes and, when given a path, types it into the save dialog instead of taking
    // the proposed one.
    void accept(const std::string& savePath) {
        const unsigned long question = window(bob, "Vellix");
        ASSERT_NE(question, 0u) << bob.process->trace();
        screen->press(question, "Return", false);
        const unsigned long save = window(bob, "Save this file as...");
        ASSERT_NE(save, 0u) << bob.process->trace();
        if (!savePath.empty()) {
            screen->press(save, "a", true);
            screen->type(save, savePath);
        }
        screen->press(save, "Return", false);
    }

    void SetUp() override {
        DesktopUsersTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_NO_FATAL_FAILURE(start(bob));
    }

    test::DesktopUser bob{"bob@demo.local", "bob", {}, {}};
    std::string alice;  // the session of a scripted alice
};

QByteArray sha256(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) return {};
    return hash.result();
}

TEST_F(TransferE2eTest, AliceSendsAFileFromTheConversationAndBobSavesItWhole) {
    test::DesktopUser sender{"alice@demo.local", "alice", {}, {}};
    ASSERT_NO_FATAL_FAILURE(start(sender, {QStringLiteral("/im:bob@demo.local")}));
    QByteArray bytes(64 << 20, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    const QString source = QDir(sender.home.path()).filePath(QStringLiteral("video.bin"));
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const QString target = QDir(bob.home.path()).filePath(QStringLiteral("saved video.bin"));

    const unsigned long conversation = window(sender, "Bob Baker");
    ASSERT_NE(conversation, 0u) << sender.process->trace();
    screen->pressHolding(conversation, "f", "Alt_L");  // "Send a &file..."
    const unsigned long choose = window(sender, "Select a file to send");
    ASSERT_NE(choose, 0u) << sender.process->trace();
    screen->press(choose, "a", true);
    screen->type(choose, source.toStdString());
    screen->press(choose, "Return", false);
    ASSERT_NO_FATAL_FAILURE(accept(target.toStdString()));

    ASSERT_TRUE(test::runUntil([&] { return QFileInfo(target).size() == bytes.size(); }, 60s))
        << QFileInfo(target).size() << sender.process->trace();
    EXPECT_EQ(sha256(target), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256));
}

TEST_F(TransferE2eTest, AHostileNameLandsOnlyAsASafeNameInTheProposedFolder) {
    alice = sim.login("alice@demo.local", "alice");
    ASSERT_FALSE(alice.empty());
    const QByteArray bytes("echo owned\n");
    ASSERT_TRUE(offer("../../.bashrc", bytes.size()));
    ASSERT_NO_FATAL_FAILURE(accept({}));
    ASSERT_TRUE(answeredYes());
    ASSERT_TRUE(upload("../../.bashrc", bytes));

    // The proposal is the home folder (no Downloads folder there) and the name's last part
    // without its leading dot.
    const QDir home(bob.home.path() + QStringLiteral("/home"));
    const QString saved = home.filePath(QStringLiteral("bashrc"));
    ASSERT_TRUE(test::runUntil([&] { return QFileInfo(saved).size() == bytes.size(); }))
        << home.entryList(QDir::AllEntries | QDir::Hidden).join(u' ').toStdString();
    EXPECT_FALSE(QFileInfo(saved).isExecutable());
    for (const QString& outside :
         {home.filePath(QStringLiteral(".bashrc")), home.filePath(QStringLiteral("../../.bashrc")),
          home.filePath(QStringLiteral("../.bashrc"))}) {
        EXPECT_FALSE(QFileInfo::exists(outside)) << outside.toStdString();
    }
}

}  // namespace
}  // namespace vellix
