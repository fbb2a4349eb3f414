// File transfer through two sessions, contact folders, pages and the installer.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "replies.h"
#include "sim_fixture.h"

namespace vellix::sim::testing {
namespace {

using test::reply_tag;

class SimTransfer : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        a_ = login("a@x.test", "pa");
        b_ = login("b@x.test", "pb");
        drain(a_);  // b's arrival
    }
    // Reads the session's queued events up to a marker pushed behind them.
    void drain(const std::string& session) {
        const auto account = server_->state().session_account(session);
        ASSERT_TRUE(account);
        server_->state().push_event(*account, "<end/>");
        for (int i = 0; i < 10; ++i) {
            if (call(session, "WaitForIM=Yes").body == "<end/>") return;
        }
        FAIL() << "marker never came";
    }
    std::string upload(const std::string& to, const std::string& name, const std::string& bytes) {
        test::HttpCall c;
        c.url = url("Session=" + a_ + "&View=StatusCheck&FileUpload=Yes&TransferTo=" + to +
                    "&FileName=" + name);
        c.body = bytes;
        c.content_type = "application/octet-stream";
        c.user_agent = "VellixFile";
        return test::http_request(c).body;
    }
    std::string a_, b_;
};

TEST_F(SimTransfer, OfferAcceptUploadDownloadComplete) {
    std::string big(300 * 1024, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    for (const std::string& bytes : {big, std::string()}) {
        const std::string size = std::to_string(bytes.size());
        SCOPED_TRACE(size);
        EXPECT_EQ(call(a_,
                       "FileTransferRequest=yes&TransferTo=b@x.test&FileName=Report.pdf&"
                       "FileSize=" +
                           size)
                      .body,
                  replies::kSuccess);
        EXPECT_EQ(
            call(b_, "WaitForIM=Yes").body,
            "<filetransferrequest><from>a@x.test</from><filename>Report.pdf</filename><filesize>" +
                size + "</filesize></filetransferrequest>");
        EXPECT_EQ(
            call(b_, "FileTransferResponse=yes&TransferFrom=a@x.test&FileName=report.PDF").body,
            replies::kSuccess);
        EXPECT_EQ(call(a_, "WaitForIM=Yes").body,
                  "<filetransferresponse><from>b@x.test</from><sendfile>yes</"
                  "sendfile><filename>report.PDF</filename></filetransferresponse>");
        EXPECT_TRUE(upload("b@x.test", "Report.pdf", bytes)
                        .starts_with("<result>success</result><fileid>"));
        const std::string available = call(b_, "WaitForIM=Yes").body;
        EXPECT_EQ(reply_tag(available, "status"), "available");
        EXPECT_EQ(reply_tag(available, "filesize"), size);
        const std::string fetch =
            "FileDownload=Yes&FileID=" + reply_tag(available, "fileid").value_or("") +
            "&TransferFrom=a@x.test&FileName=Report.pdf";
        EXPECT_EQ(call(a_, fetch).status, 404);  // only the recipient can fetch it
        const auto got = call(b_, fetch);
        EXPECT_EQ(got.status, 200);
        EXPECT_EQ(got.content_type, "application/octet-stream");
        EXPECT_EQ(got.body, bytes);
        EXPECT_EQ(call(a_, "WaitForIM=Yes").body,
                  "<filetransferstatus><from>b@x.test</from><filename>Report.pdf</"
                  "filename><status>complete</status></filetransferstatus>");
    }
}

TEST_F(SimTransfer, DeclinedOrUnofferedFilesAreRefused) {
    call(a_, "FileTransferRequest=yes&TransferTo=b@x.test&FileName=x.bin&FileSize=0");
    call(b_, "WaitForIM=Yes");
    EXPECT_EQ(call(b_, "FileTransferResponse=no&TransferFrom=a@x.test&FileName=x.bin").body,
              replies::kSuccess);
    EXPECT_EQ(reply_tag(call(a_, "WaitForIM=Yes").body, "sendfile"), "no");
    EXPECT_EQ(upload("b@x.test", "x.bin", "data"), "<error>no accepted file offer</error>");
    EXPECT_EQ(call(b_, "FileTransferResponse=yes&TransferFrom=a@x.test&FileName=never.bin").status,
              404);
    EXPECT_EQ(call(b_, "FileDownload=Yes&FileID=XYZ&TransferFrom=a@x.test&FileName=x").status, 404);
}

class SimSpool : public SimTransfer {
  protected:
    ServerOptions options() override {
        ServerOptions o = SimTransfer::options();
        o.service.spool_limit = 1000;
        return o;
    }
    size_t spooled_files() const {
        const auto& folder = server_->service().spool()->folder();
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                 std::filesystem::directory_iterator()));
    }
};

TEST_F(SimSpool, UploadsWaitOnDiskWithinTheSpoolLimit) {
    for (const char* name : {"one.bin", "two.bin"}) {
        call(a_, std::string("FileTransferRequest=yes&TransferTo=b@x.test&FileSize=600&FileName=") +
                     name);
        call(b_, std::string("FileTransferResponse=yes&TransferFrom=a@x.test&FileName=") + name);
    }
    const std::string bytes(600, 'x');
    EXPECT_TRUE(upload("b@x.test", "one.bin", bytes).starts_with("<result>success</result>"));
    EXPECT_EQ(server_->service().spool()->used(), 600u);
    EXPECT_EQ(spooled_files(), 1u);
    EXPECT_EQ(upload("b@x.test", "two.bin", bytes),
              "<error>upload space full: 600 bytes asked, 400 of 1000 free</error>");

    std::string id;
    for (int i = 0; i < 6 && id.empty(); ++i) {
        id = reply_tag(call(b_, "WaitForIM=Yes").body, "fileid").value_or("");
    }
    EXPECT_EQ(call(b_, "FileDownload=Yes&FileID=" + id + "&TransferFrom=a@x.test&FileName=one.bin")
                  .body,
              bytes);
    // The server lets go of the file once its reply is written, just after the client has it.
    for (int i = 0; i < 500 && server_->service().spool()->used() != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(server_->service().spool()->used(), 0u);
    EXPECT_EQ(spooled_files(), 0u);
}

TEST_F(SimTransfer, ContactsRoundTripAndPublicWriteNeedsTheRight) {
    // The layout itself is the seed's; here, that the seeded public book is served.
    EXPECT_NE(call(a_, "GetContacts=public").body.find("<email><![CDATA[desk@x.test]]></email>"),
              std::string::npos);
    const std::string book =
        "<?xml "
        "version=\"1.0\"?>\r\n<addressBook>\r\n<contact>\r\n<email><![CDATA[n@x]]></email>\r\n"
        "</contact>\r\n</addressBook>\r\n";
    EXPECT_NE(call(a_, "SetContacts_80=private", &book).body.find(">success<"), std::string::npos);
    EXPECT_EQ(call(a_, "GetContacts=private").body, book);
    EXPECT_NE(call(b_, "GetContacts=private").body, book);  // private is per account
    EXPECT_NE(call(a_, "SetContacts_80=public", &book).body.find(">success<"), std::string::npos);
    EXPECT_EQ(call(b_, "GetContacts=public").body, book);  // public is shared
    const auto denied = call(b_, "SetContacts_80=public", &book);
    EXPECT_EQ(denied.status, 403);
    EXPECT_EQ(denied.body.find(">success<"), std::string::npos);
    const std::string junk = "<html>not a book</html>";
    EXPECT_EQ(call(a_, "SetContacts_80=private", &junk).status, 400);
    EXPECT_EQ(call(a_, "GetContacts=private").body, book);
}

TEST_F(SimTransfer, PagesShowWhatWasAsked) {
    server_->state().deliver("a@x.test", "INBOX",
                             {"boss@x.test", "Budget <2026>", "Numbers.", false}, 1);
    const struct {
        const char* name;
        std::string query;
        std::vector<std::string> expect;
    } cases[] = {
        {"folder list",
         "&View=List&NextFolder=INBOX&Frames=Yes",
         {"skyloom-view\" content=\"list", "Folder Inbox", "Budget &lt;2026&gt;"}},
        {"first unread",
         "&View=Message&NextFolder=INBOX&NextFirstUnread=Yes&Frames=Yes",
         {"content=\"message", "From: boss@x.test", "Subject: Budget &lt;2026&gt;"}},
        {"compose from mailto",
         "&View=Compose&NextNew=Yes&NextTo=x%40y.z,w%40v&NextSubject=Hi%20there&Frames=Yes",
         {"content=\"compose", "value=\"x@y.z,w@v\"", "value=\"Hi there\""}},
        {"new message", "&View=Compose&New=Yes&Frames=Yes", {"content=\"compose", "New message"}},
        {"calendar", "&NextView=CalendarWeekView&Frames=Yes", {"content=\"calendar", "Ann A"}},
        {"download page",
         "&View=Vellix&NextView=Vellix&Frames=Yes",
         {"content=\"download", "View=VellixInstall.exe"}},
        {"unknown folder", "&View=List&NextFolder=Nope", {"Folder Nope not found"}},
    };
    for (const auto& c : cases) {
        const auto r = get("Session=" + a_ + c.query);
        EXPECT_EQ(r.status, 200) << c.name;
        EXPECT_TRUE(r.content_type.starts_with("text/html")) << c.name;
        for (const auto& e : c.expect)
            EXPECT_NE(r.body.find(e), std::string::npos) << c.name << ": " << e;
    }
    // Opening the first unread message read it.
    EXPECT_NE(call(a_, "GetMessageCounts=Yes").body.find("<total>11</total><unread>2</unread>"),
              std::string::npos);
    EXPECT_NE(get("Session=BAD&View=List&NextFolder=INBOX").body.find("content=\"login"),
              std::string::npos);
}

TEST_F(SimTransfer, InstallerNeedsASessionAndComesAsOctetStream) {
    const auto r =
        get("Session=" + a_ + "&View=VellixInstall.exe&Frames=No&AutoUpdate=Yes", "VellixUpdate");
    EXPECT_EQ(r.content_type, "application/octet-stream");
    EXPECT_EQ(r.body, *server_->state().installer());
    const auto refused = get("Session=OLD&View=VellixInstall.exe&Frames=No&AutoUpdate=Yes");
    EXPECT_TRUE(refused.content_type.starts_with("text/html"));
}

}  // namespace
}  // namespace vellix::sim::testing
