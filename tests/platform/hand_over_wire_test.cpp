#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <future>

#include <tuple>

#include "platform/hand_over_wire.h"
#include "platform/instance_guard.h"

namespace vellix {
namespace {

TEST(HandOverWireTest, RequestsSurviveArrivingInPieces) {
    const std::string stop = encodePostRequest({UM_STOP, 0x1122334455667788u, -5});
    const std::string mail = encodeCopyDataRequest(COPYDATA_MAILTO, std::string("a@b\0c", 5));
    const std::string stream = stop + mail;
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        std::string buffer = stream.substr(0, cut);
        std::vector<std::variant<PostRequest, CopyData>> got;
        auto drain = [&] {
            while (true) {
                auto d = decodeHandOverRequest(buffer);
                ASSERT_NE(d.state, DecodeState::Malformed);
                if (d.state == DecodeState::NeedMore) return;
                got.push_back(d.request);
                buffer.erase(0, d.consumed);
            }
        };
        drain();
        buffer += stream.substr(cut);
        drain();
        ASSERT_EQ(got.size(), 2u) << cut;
        const auto& post = std::get<PostRequest>(got[0]);
        const auto& copy = std::get<CopyData>(got[1]);
        EXPECT_EQ(std::tie(post.id, post.w, post.l),
                  std::make_tuple(MessageId{UM_STOP}, WParam{0x1122334455667788u}, LParam{-5}));
        EXPECT_EQ(std::tie(copy.kind, copy.data),
                  std::make_tuple(std::uint32_t{COPYDATA_MAILTO}, std::string("a@b\0c", 5)));
    }
}

TEST(HandOverWireTest, RefusesUnknownKindsAndOversizedData) {
    EXPECT_EQ(decodeHandOverRequest("X").state, DecodeState::Malformed);
    std::string huge = encodeCopyDataRequest(1, "");
    huge[5] = huge[6] = huge[7] = huge[8] = '\xff';
    EXPECT_EQ(decodeHandOverRequest(huge).state, DecodeState::Malformed);
}

// The running instance listens on its own thread; a later start talks to it.
TEST(InstanceGuardTest, SecondGuardFindsTheFirstAndHandsOver) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    InstanceGuard first(folder);
    ASSERT_TRUE(first.acquire(Milliseconds(100)));
    // Reachable as soon as the lock is held: a stop sent before the listening thread runs
    // waits in the socket instead of finding nobody.
    auto earlyStop = std::async(std::launch::async, [&] {
        InstanceGuard early(folder);
        return early.postToRunning(UM_STOP, 0, 0);
    });
    QLocalSocket probe;
    probe.connectToServer(QString::fromStdString(first.socketPath()));
    EXPECT_TRUE(probe.waitForConnected(0) || probe.state() == QLocalSocket::ConnectedState);
    probe.abort();

    std::vector<std::pair<MessageId, std::string>> received;
    QThread listener;
    listener.start();
    QObject context;
    context.moveToThread(&listener);
    QMetaObject::invokeMethod(
        &context,
        [&] {
            ASSERT_TRUE(first
                            .listen([&](Message& m) -> LResult {
                                auto copy = m.take<CopyData>();
                                received.emplace_back(m.id, copy ? copy->data : "");
                                return copy && copy->kind == COPYDATA_MAILTO ? 1 : 0;
                            })
                            .ok());
        },
        Qt::BlockingQueuedConnection);

    EXPECT_TRUE(earlyStop.get());
    InstanceGuard second(folder);
    EXPECT_FALSE(second.acquire(Milliseconds(100)));
    EXPECT_TRUE(second.postToRunning(UM_STOP, 0, 0));
    EXPECT_EQ(second.copyDataToRunning(COPYDATA_MAILTO, "ann@x"), std::optional<bool>(true));
    EXPECT_EQ(second.copyDataToRunning(7, "other"), std::optional<bool>(false));
    // Plain messages other than a stop are not accepted from outside.
    EXPECT_TRUE(second.postToRunning(UM_CHECK_NOW, 0, 0));
    // A cleaner of old runtime files removes the socket: it is made again at once.
    ASSERT_EQ(std::remove(first.socketPath().c_str()), 0);
    EXPECT_TRUE(second.postToRunning(UM_STOP, 0, 0));

    QMetaObject::invokeMethod(
        &context, [&] { first.stopListening(); }, Qt::BlockingQueuedConnection);
    listener.quit();
    listener.wait();
    const std::vector<std::pair<MessageId, std::string>> expected = {{UM_STOP, ""},
                                                                     {UM_STOP, ""},
                                                                     {WM_COPYDATA, "ann@x"},
                                                                     {WM_COPYDATA, "other"},
                                                                     {UM_STOP, ""}};
    EXPECT_EQ(received, expected);

    // With the first gone, nobody answers and the lock is free again.
    InstanceGuard third(folder);
    EXPECT_FALSE(third.postToRunning(UM_STOP, 0, 0));
}

}  // namespace
}  // namespace vellix
