// Progress texts, the rate formula, names from peers, request URLs, the answer timer and
// the routes from the window table to the windows.
#include <gtest/gtest.h>

#include "core/string_table.h"
#include "im/im_events.h"
#include "server/server_requests.h"
#include "transfer/transfer_names.h"
#include "transfer/transfer_progress.h"
#include "transfer/transfer_table_routes.h"

namespace vellix {
namespace {

TEST(TransferProgress, RateAndTexts) {
    const struct {
        std::uint64_t bytes;
        std::int64_t elapsed;
        TransferSide side;
        double rate;
    } rates[] = {
        {10240, 1000, TransferSide::Send, 9.765625},   // 10 bytes/ms
        {10240, 55, TransferSide::Send, 370.1171875},  // 55 ms counts as 27
        {10240, 56, TransferSide::Send, 177.734375},   // 182 bytes/ms, integer division
        {10240, 28, TransferSide::Receive, 356.4453125},
        {10240, 27, TransferSide::Receive, 370.1171875},
        {10240, 0, TransferSide::Receive, 370.1171875},
        {0, 5000, TransferSide::Send, 0.0},
        {std::uint64_t{1} << 31, 2000, TransferSide::Receive, 1048575.1953125},
    };
    for (const auto& r : rates) {
        EXPECT_DOUBLE_EQ(transferRate(r.bytes, r.elapsed, r.side), r.rate)
            << r.bytes << " in " << r.elapsed;
    }
    EXPECT_EQ(progressText("Sending", 1536, 40960, 3.0),
              "Sending 1.50 KB of 40.00 KB (3.00 KB/sec)");
    EXPECT_EQ(progressText("Receiving", 2147483647, 2147483647, 0.5),
              "Receiving 2097152.00 KB of 2097152.00 KB (0.50 KB/sec)");
    EXPECT_EQ(startText("Receiving", 512), "Receiving 0.00 KB of 0.50 KB (0.00KB/sec)");
    EXPECT_FALSE(shouldRefresh(1199, 1000, false));
    EXPECT_TRUE(shouldRefresh(1200, 1000, false));
    EXPECT_TRUE(shouldRefresh(1001, 1000, true));
}

TEST(TransferNames, PeerNamesBecomeOneSafeName) {
    const std::string longStem(300, 'n');
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"report.pdf", "report.pdf"},
        {"../../.bashrc", "bashrc"},
        {"a/b", "b"},
        {"C:\\Users\\x\\photo.jpg", "photo.jpg"},
        {"dir/", "received-file"},
        {"", "received-file"},
        {"..", "received-file"},
        {" . ", "received-file"},
        {"bad\nname\x01\x7f.txt", "badname.txt"},
        {"trailing. . ", "trailing"},
        {"名前.txt", "名前.txt"},
        {longStem + ".tar.gz", std::string(252, 'n') + ".gz"},
        {std::string(299, 'x') + "é", std::string(255, 'x')},
        {std::string(254, 'x') + "é", std::string(254, 'x')},  // no half character
    };
    for (const auto& c : cases) EXPECT_EQ(safeFileName(c.in), c.out) << c.in;
    EXPECT_EQ(splitRecipients(" a@x, b@x  c@x,,"), (std::vector<std::string>{"a@x", "b@x", "c@x"}));
    EXPECT_TRUE(splitRecipients(" , ").empty());
    EXPECT_EQ(transferKey("Bob@X.test", "Report.PDF"), transferKey("bob@x.test", "report.pdf"));
}

TEST(TransferRequests, NamesGoInAsTheyStandUnlessTheyWouldBreakTheQuery) {
    const std::string u = "http://h/app.dll";
    EXPECT_EQ(requests::fileOffer(u, "S1", "b@x,c@x", "Report.pdf", 2147483647),
              "http://h/app.dll?Session=S1&View=StatusCheck&FileTransferRequest=yes&TransferTo="
              "b@x,c@x&FileName=Report.pdf&FileSize=2147483647");
    EXPECT_EQ(requests::fileAnswer(u, "S1", false, "a@x", "a b&c#d%e+f.txt"),
              "http://h/app.dll?Session=S1&View=StatusCheck&FileTransferResponse=no&TransferFrom="
              "a@x&FileName=a%20b%26c%23d%25e%2Bf.txt");
    EXPECT_EQ(requests::fileUpload(u, "S1", "b@x", "é"),
              "http://h/app.dll?Session=S1&View=StatusCheck&FileUpload=Yes&TransferTo=b@x&"
              "FileName=%C3%A9");
    EXPECT_EQ(requests::fileDownload(u, "S1", "ID9", "a@x", "../x"),
              "http://h/app.dll?Session=S1&View=StatusCheck&FileDownload=Yes&FileID=ID9&"
              "TransferFrom=a@x&FileName=../x");
}

TEST(TransferTimer, SingleAndGroupOutcomes) {
    const StringTable table(Language::English);
    const auto text = [&](int id) { return table.text(id); };
    const std::vector<std::string> none;
    const std::vector<std::string> two{"b@x", "c@x"};
    const std::vector<std::string> one{"d@x"};
    const std::string noAnswer = table.text(IDS_TRANSFER_NO_RESPONSE);
    const struct {
        bool group;
        const std::vector<std::string>& declined;
        const std::vector<std::string>& completed;
        std::string message;
        bool noResponse;
    } cases[] = {
        {false, none, none, noAnswer, true},
        {false, two, one, noAnswer, true},  // a single transfer only times out
        {true, none, none, noAnswer, true},
        {true, two, none, "These users refused the file: b@x,c@x.", false},
        {true, none, one, "These users received the file: d@x.", false},
        {true, one, two,
         "These users refused the file: d@x.\nThese users received the file: b@x,c@x.", false},
    };
    for (const auto& c : cases) {
        const TimerOutcome got = answerTimerOutcome(c.group, c.declined, c.completed, text);
        EXPECT_EQ(got.message, c.message);
        EXPECT_EQ(got.noResponse, c.noResponse);
    }
}

struct CountingPeer : TransferPeer {
    void deliverResponse(FileTransferResponse) override { ++responses; }
    void deliverStatus(FileTransferStatus) override { ++statuses; }
    int responses = 0;
    int statuses = 0;
};

TEST(TransferTableRoutes, EventsReachOnlyAWindowStillInTheTable) {
    WindowTable table;
    TransferTableRoutes routes(table);
    CountingPeer first, second;
    const std::string key = transferKey("Bob@X.test", "a.bin");
    routes.enter(key, &first);
    // The handler looks up with its own spelling of the key.
    const auto held = table.findTransfer(transferKey("bob@x.test", "A.BIN"));
    ASSERT_TRUE(held);
    held->response({});
    EXPECT_EQ(first.responses, 1);

    // A second offer of the same file takes the key; the first window's leave keeps it.
    routes.enter(key, &second);
    routes.leave(key, &first);
    table.findTransfer(key)->status({});
    EXPECT_EQ(second.statuses, 1);
    // A sink the handler took before the first window left reaches nobody afterwards.
    held->status({});
    EXPECT_EQ(first.statuses, 0);

    routes.leave(key, &second);
    EXPECT_FALSE(table.findTransfer(key));
}

}  // namespace
}  // namespace vellix
