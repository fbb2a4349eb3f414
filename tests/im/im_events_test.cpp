// Reading long-poll replies: classification, the records and when they are dropped.
#include <gtest/gtest.h>

#include "im/im_events.h"

namespace vellix {
namespace {

constexpr std::string_view kOwn = "me@x.test";

TEST(ImReply, ClassifiesByLeadingTagIgnoringCase) {
    const struct {
        std::string_view reply;
        ReplyKind kind;
    } cases[] = {
        {"", ReplyKind::Blank},
        {"<MESSAGE><to>me@x.test</to><from>a@x.test</from><message_text>hi</message_text>",
         ReplyKind::Message},
        {" <message><to>me@x.test</to>", ReplyKind::Ignored},  // blanks before the tag
        {"<StatusUpdate>", ReplyKind::StatusUpdate},
        {"<filetransferrequest>", ReplyKind::FileTransferRequest},
        {"<filetransferresponse>", ReplyKind::FileTransferResponse},
        {"<FILETRANSFERSTATUS>", ReplyKind::FileTransferStatus},
        {"<error>You have gone offline</error>", ReplyKind::GoneOffline},
        {"<error>this session is being deleted</error>tail", ReplyKind::SessionDeleted},
        {"<error>invalid session</error>", ReplyKind::Error},
        {"<error>You have gone", ReplyKind::Error},
        {"<wait>A new wait request is taking your place</wait>", ReplyKind::Wait},
        {"<wait>something else</wait>", ReplyKind::Ignored},
        {"<idle>no events</idle>", ReplyKind::Ignored},
        {"<messages>", ReplyKind::Ignored},
    };
    for (const auto& c : cases) EXPECT_EQ(parseImReply(c.reply, kOwn).kind, c.kind) << c.reply;
}

std::string message(std::string_view to, std::string_view from, std::string_view text = "hi") {
    return "<message><to>" + std::string(to) + "</to><from>" + std::string(from) +
           "</from><subject>s</subject><message_text>" + std::string(text) +
           "</message_text></message>";
}

TEST(ImReply, MessageKeysAndDrops) {
    const struct {
        std::string reply;
        bool delivered;
        std::string keys;
    } cases[] = {
        {message("ME@X.TEST", "c@x.test"), true, ""},  // one-to-one
        {message("b@x.test, me@x.test", "C@x.test"), true, "b@x.test,C@x.test"},
        {message("zed@x.test,,me@x.test  Amy@x.test", "bob@x.test"), true,
         "Amy@x.test,bob@x.test,zed@x.test"},
        {message("b@x.test", "c@x.test"), false, ""},       // not addressed to this user
        {message("me@x.test.org", "c@x.test"), false, ""},  // a longer address is another one
        {message("", "c@x.test"), false, ""},
        {message("me@x.test", ""), false, ""},
        {message("me@x.test", "c@x.test", ""), false, ""},
        {"<message><to>me@x.test</to><from>c</from><message_text>t</message_text>", true, ""},
    };
    for (const auto& c : cases) {
        const ImReply r = parseImReply(c.reply, kOwn);
        ASSERT_EQ(r.kind, ReplyKind::Message);
        const auto* m = std::get_if<ImMessage>(&r.record);
        ASSERT_EQ(m != nullptr, c.delivered) << c.reply;
        if (m) {
            EXPECT_EQ(m->conversationKeys, c.keys) << c.reply;
        }
    }
    const ImReply single = parseImReply(message("me@x.test", "c", "t"), kOwn);
    const auto* m = std::get_if<ImMessage>(&single.record);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->subject, "s");
    EXPECT_EQ(m->messageText, "t");
}

TEST(ImReply, TransferRecords) {
    const ImReply request = parseImReply(
        "<filetransferrequest><from>a</from><filename>f.txt</filename><filesize>99999999999"
        "</filesize></filetransferrequest>",
        kOwn);
    const auto* r = std::get_if<FileTransferRequest>(&request.record);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->filesize, 2147483647);

    const ImReply response = parseImReply(
        "<filetransferresponse><from>A@X</from><sendfile>YES</sendfile>"
        "<filename>F.txt</filename>",
        kOwn);
    const auto* yes = std::get_if<FileTransferResponse>(&response.record);
    ASSERT_NE(yes, nullptr);
    EXPECT_TRUE(yes->accepted);
    EXPECT_EQ(transferKey(*yes), "a@xf.txt");

    const struct {
        std::string body;
        bool delivered;
        std::string peer;
        std::int32_t size;
    } statuses[] = {
        {"<to>b</to><filename>f</filename><status>cancelled</status>", true, "b", 0},
        {"<from>a</from><to>b</to><filename>f</filename><status>Available</status>"
         "<filesize>12</filesize><fileid>77</fileid>",
         true, "a", 12},
        {"<from>a</from><filename>f</filename><status>available</status><filesize>12</filesize>",
         false, "", 0},
        {"<filename>f</filename><status>cancelled</status>", false, "", 0},
        {"<from>a</from><status>complete</status>", false, "", 0},
    };
    for (const auto& s : statuses) {
        const ImReply reply = parseImReply("<filetransferstatus>" + s.body, kOwn);
        const auto* st = std::get_if<FileTransferStatus>(&reply.record);
        ASSERT_EQ(st != nullptr, s.delivered) << s.body;
        if (!st) continue;
        EXPECT_EQ(st->peer, s.peer);
        EXPECT_EQ(st->filesize, s.size);
    }
}

TEST(ImReply, ReadsUpToTheFirstEmptyLine) {
    const struct {
        std::string_view body;
        std::string_view text;
    } cases[] = {
        {"\n<message>", ""},    {"\r\n<message>", ""}, {"<a>\r\n<b>\n\n<c>", "<a><b>"},
        {"<a>\n<b>", "<a><b>"}, {"<a>\r", "<a>\r"},    {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(readReplyText(c.body), c.text) << c.body;
}

}  // namespace
}  // namespace vellix
