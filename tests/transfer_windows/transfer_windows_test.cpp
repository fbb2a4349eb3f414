// The send and receive windows against an in-process skyloom-sim, with a small stand-in for
// the window handler: it reads each account's events and routes them by transfer key.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <deque>
#include <map>

#include "core/string_table.h"
#include "server/file_transfer_records.h"
#include "sim/sim_fixture.h"
#include "support/recording_frame.h"
#include "support/temp_folder.h"
#include "transfer/windows/receive_file_window.h"
#include "transfer/windows/send_file_window.h"

namespace vellix::sim::testing {
namespace {

class ScriptedTransferDialogs : public TransferDialogs {
  public:
    std::string chooseFileToSend() override { return file; }
    std::string chooseSavePath(const std::string& proposed) override {
        proposals.push_back(proposed);
        return next(saves, std::string());
    }
    bool askYesNo(const std::string&) override { return next(answers, false); }
    void showMessage(const std::string& text, bool stop) override {
        messages.push_back({text, stop});
    }
    template <class T>
    static T next(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
    std::string file;
    std::deque<std::string> saves;
    std::deque<bool> answers;
    std::vector<std::string> proposals;
    std::vector<std::pair<std::string, bool>> messages;
};

class MapRoutes : public TransferRoutes {
  public:
    void enter(const std::string& key, TransferPeer* peer) override { table[key] = peer; }
    void leave(const std::string& key, TransferPeer* peer) override {
        if (table[key] == peer) table.erase(key);
    }
    std::map<std::string, TransferPeer*> table;
};

class TransferWindows : public SimTest {
  protected:
    struct Account {
        std::string address, session;
        ScriptedTransferDialogs dialogs;
        MapRoutes routes;
        std::vector<ReceiveFileWindow*> received;
        bool silent = false;  // its events are never read
        FrameRegistry frames;
        test::StartedFrame server;
    };

    void SetUp() override {
        SimTest::SetUp();
        ASSERT_TRUE(dir_.valid());
        for (auto& [address, password] :
             {std::pair{"a@x.test", "pa"}, {"b@x.test", "pb"}, {"c@x.test", "pc"}}) {
            accounts_[address].address = address;
            accounts_[address].session = login(address, password);
            // The account's server frame: offers and answers go straight into the sim's state.
            accounts_[address].server = test::startRecordingFrame(
                accounts_[address].frames, FrameKind::Server, clock_,
                [this, who = std::string(address)](Message& m) {
                    if (auto offer = m.take<FileOffer>()) {
                        server_->state().offer_file(who, offer->recipients, offer->fileName,
                                                    offer->size);
                    } else if (auto answer = m.take<FileAnswer>()) {
                        server_->state().answer_offer(who, answer->sender, answer->fileName,
                                                      answer->accepted);
                    }
                    return LResult{0};
                });
        }
    }

    // Windows still open refer to the accounts: they go first.
    void TearDown() override {
        for (QWidget* window : QApplication::topLevelWidgets()) delete window;
        SimTest::TearDown();
    }

    TransferContext context(Account& account) {
        return {.clock = clock_,
                .frames = account.frames,
                .routes = account.routes,
                .dialogs = account.dialogs,
                .endpoint =
                    [this, &account] {
                        return TransferEndpoint{server_->url(), account.session, {}};
                    },
                .text = [this](int id) { return strings_.text(id); }};
    }

    // Runs the GUI loop and routes events until `done` holds; false after 30 s.
    bool until(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            for (auto& [address, account] : accounts_) route(account);
        }
        return true;
    }
    void route(Account& account) {
        if (account.silent) return;
        const WaitResult got = server_->state().wait_event(
            account.session, std::chrono::milliseconds(1), [] { return false; });
        if (!got.is_event) return;
        const ImReply reply = parseImReply(got.reply, account.address);
        if (const auto* offer = std::get_if<FileTransferRequest>(&reply.record)) {
            account.received.push_back(CWinThread_ReceiveFile::start(context(account), *offer));
        } else if (const auto* response = std::get_if<FileTransferResponse>(&reply.record)) {
            if (auto* peer = account.routes.table[transferKey(*response)])
                peer->deliverResponse(*response);
        } else if (const auto* status = std::get_if<FileTransferStatus>(&reply.record)) {
            if (auto* peer = account.routes.table[transferKey(status->peer, status->filename)])
                peer->deliverStatus(*status);
        }
    }
    std::string path(const std::string& name) const { return dir_.file(name); }
    std::string file(const std::string& name, size_t size) const {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 >> 2);
        return dir_.write(name, bytes);
    }
    std::string text(int id) const { return strings_.text(id); }

    test::TempFolder dir_;
    Clock clock_{0.02};  // the 60 s answer timer runs 1.2 s
    StringTable strings_{Language::English};
    std::map<std::string, Account> accounts_;
};

TEST_F(TransferWindows, AcceptedFileArrivesAndBothSidesSayComplete) {
    Account& a = accounts_["a@x.test"];
    Account& b = accounts_["b@x.test"];
    a.dialogs.file = file("odd name.bin", 3u << 20);
    b.dialogs.answers = {true, true};
    const std::string saved = path("saved.bin");
    b.dialogs.saves = {"", saved};  // a cancelled save dialog asks again
    QPointer<SendFileWindow> sender = CWinThread_SendFile::start(context(a), "b@x.test", false);
    ASSERT_TRUE(sender);
    ASSERT_TRUE(until([&] {
        return !b.received.empty() && b.received[0]->statusText() == text(IDS_RECEIVE_COMPLETE);
    }));
    EXPECT_EQ(b.dialogs.proposals, (std::vector<std::string>{"odd name.bin", "odd name.bin"}));
    EXPECT_TRUE(test::readFile(saved) == test::readFile(a.dialogs.file));
    ASSERT_TRUE(until([&] { return sender->statusText() == text(IDS_TRANSFER_COMPLETE); }));
    EXPECT_EQ(sender->buttonText(), text(IDS_TRANSFER_CLOSE));
    sender->reject();
    b.received[0]->reject();
    ASSERT_TRUE(until([&] { return !sender && a.routes.table.empty() && b.routes.table.empty(); }));
}

TEST_F(TransferWindows, DeclinedUnansweredAndGroupOutcomes) {
    Account& a = accounts_["a@x.test"];
    a.dialogs.file = file("f.bin", 100000);
    // b declines a single offer: a is told and its window closes.
    QPointer<SendFileWindow> single = CWinThread_SendFile::start(context(a), "b@x.test", false);
    ASSERT_TRUE(until([&] { return !single; }));
    EXPECT_EQ(a.dialogs.messages.at(0), std::pair(text(IDS_TRANSFER_REFUSED), false));

    // Nobody answers: the stop-icon notice after the (scaled) 60 s.
    a.dialogs.messages.clear();
    accounts_["c@x.test"].silent = true;
    QPointer<SendFileWindow> unanswered = CWinThread_SendFile::start(context(a), "c@x.test", false);
    ASSERT_TRUE(until([&] { return !unanswered; }));
    EXPECT_EQ(a.dialogs.messages.at(0), std::pair(text(IDS_TRANSFER_NO_RESPONSE), true));

    // A hostile name from the server is proposed only as one safe name.
    Account& b = accounts_["b@x.test"];
    b.dialogs.answers = {true, false};
    server_->state().push_event("b@x.test",
                                "<filetransferrequest><from>a@x.test</from><filename>../../.bashrc"
                                "</filename><filesize>5</filesize></filetransferrequest>");
    ASSERT_TRUE(until([&] { return b.received.size() == 2 && b.dialogs.answers.empty(); }));
    EXPECT_EQ(b.dialogs.proposals, (std::vector<std::string>{"bashrc"}));
}

TEST_F(TransferWindows, GroupSummaryNamesWhoRefusedAndWhoReceived) {
    Account& a = accounts_["a@x.test"];
    a.dialogs.file = file("g.bin", 200000);
    accounts_["c@x.test"].dialogs.answers = {true};
    accounts_["c@x.test"].dialogs.saves = {path("g-c.bin")};
    QPointer<SendFileWindow> group =
        CWinThread_SendFile::start(context(a), "b@x.test,c@x.test", true);
    ASSERT_TRUE(until([&] { return !group; }));
    ASSERT_EQ(a.dialogs.messages.size(), 1u);
    EXPECT_EQ(a.dialogs.messages[0].first,
              "These users refused the file: b@x.test.\nThese users received the file: c@x.test.");
}

TEST_F(TransferWindows, SenderCancellingMidUploadShowsTheInterruption) {
    Account& a = accounts_["a@x.test"];
    Account& b = accounts_["b@x.test"];
    a.dialogs.file = file("big.bin", 48u << 20);
    b.dialogs.answers = {true};
    b.dialogs.saves = {path("big-b.bin")};
    QPointer<SendFileWindow> sender = CWinThread_SendFile::start(context(a), "b@x.test", false);
    ASSERT_TRUE(until([&] {
        return sender->statusText().starts_with("Sending") &&
               sender->statusText().find(" 0.00 KB of") == std::string::npos;
    }));
    sender->reject();
    ASSERT_TRUE(
        until([&] { return b.received.at(0)->statusText() == text(IDS_RECEIVE_INTERRUPTED); }));
    EXPECT_EQ(b.received[0]->buttonText(), text(IDS_TRANSFER_CLOSE));
}

}  // namespace
}  // namespace vellix::sim::testing
