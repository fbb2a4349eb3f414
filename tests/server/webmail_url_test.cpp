#include <gtest/gtest.h>

#include <vector>

#include "server/webmail_opener.h"
#include "server/webmail_url.h"
#include "support/temp_folder.h"

namespace vellix {
namespace {

TEST(WebmailUrlTest, BuildsTheAddress) {
    struct Case {
        const char* server;
        WebmailLink link;
        const char* url;
    } cases[] = {
        {"http://mail:8080",
         {"&View=List&NextFolder=Inbox", {}},
         "http://mail:8080/?Session=S1&View=List&NextFolder=Inbox&Frames=Yes"},
        {"http://mail/sky.DLL",
         {"&View=List&NextFolder=%s", {"Sent Items"}},
         "http://mail/sky.DLL?Session=S1&View=List&NextFolder=Sent%20Items&Frames=Yes"},
        {"http://mail/a.Cgi",
         {"&NextFolder=%s", {"R&D"}},
         "http://mail/a.Cgi?Session=S1&NextFolder=R%26D&Frames=Yes"},
        {"http://mail/",
         {"&NextFolder=%s", {"\xC4pfel"}},
         "http://mail/?Session=S1&NextFolder=%C4pfel&Frames=Yes"},
        {"http://mail/x.cgix", {"", {}}, "http://mail/x.cgix/?Session=S1&Frames=Yes"},
        {"", {"", {}}, "/?Session=S1&Frames=Yes"},
        // A compose request holds no "%s" and arrives unchanged, "%20" and all.
        {"http://m/",
         {"&View=Compose&NextNew=Yes&NextSubject=a%20b", {"x", "y", "z"}},
         "http://m/?Session=S1&View=Compose&NextNew=Yes&NextSubject=a%20b&Frames=Yes"},
        // Arguments fill the places in order; the third has no place left.
        {"http://m/",
         {"&A=%s&B=%s", {"1 2", "%s", "3"}},
         "http://m/?Session=S1&A=1%202&B=%25s&Frames=Yes"},
        // An argument that looks like a place is not filled by the next one.
        {"http://m/", {"&A=%s", {"%s", "x"}}, "http://m/?Session=S1&A=%25s&Frames=Yes"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(buildWebmailUrl(c.server, "S1", c.link), c.url) << c.server << c.link.format;
    }
}

TEST(WebmailUrlTest, SplitsTheMailClientSetting) {
    test::TempFolder dir;
    const std::string spaced = dir.write("my client", "#!/bin/sh\n");

    struct Case {
        std::string text, program, parameters;
    } cases[] = {
        {" \t" + spaced + "\r\n", spaced, ""},
        {"mutt  -s hi \n", "mutt", "-s hi"},
        {"\"/opt/mail app/run\"  --compose  ", "/opt/mail app/run", "--compose"},
        {"x \"/a b\" -c", "/a b", "-c"},
        {"\"/unterminated arg", "/unterminated arg", ""},
        {"evolution", "evolution", ""},
        {"\t\r\n", "", ""},
        // A folder is not a program file, so the text is split.
        {dir.path() + " -x", dir.path(), "-x"},
    };
    for (const auto& c : cases) {
        const MailClientCommand command = parseMailClient(c.text);
        EXPECT_EQ(command.program, c.program) << c.text;
        EXPECT_EQ(command.parameters, c.parameters) << c.text;
    }
}

class RecordingShell final : public DesktopShell {
  public:
    explicit RecordingShell(bool fail) : fail_(fail) {}
    std::vector<std::string> calls;
    Status openUrl(const std::string& url) override { return record("open " + url); }
    Status openInNewBrowser(const std::string& url) override { return record("browser " + url); }
    Status startProgram(const std::string& program, const std::string& parameters) override {
        return record("start " + program + "|" + parameters);
    }

  private:
    Status record(std::string call) {
        calls.push_back(std::move(call));
        return fail_ ? failure("refused") : success();
    }
    bool fail_;
};

TEST(WebmailOpenerTest, MailClientOrPage) {
    const WebmailLink folder{"&View=List&NextFolder=%s", {"Inbox"}, TrayState::Connected};
    const std::string url = "http://m/?Session=S&View=List&NextFolder=Inbox&Frames=Yes";
    struct Case {
        std::string mailClient;
        bool newBrowser, fail;
        LinkOpened::Way way;
        std::string call;
        int tray;
    } cases[] = {
        {"", true, false, LinkOpened::Way::NewBrowser, "browser " + url, 1},
        {"", true, true, LinkOpened::Way::NewBrowser, "browser " + url, 1},
        {" \r\n", false, false, LinkOpened::Way::Desktop, "open " + url, 1},
        {" mutt -f =inbox\n", true, false, LinkOpened::Way::MailClient, "start mutt|-f =inbox", 0},
    };
    for (const auto& c : cases) {
        RecordingShell shell(c.fail);
        const LinkOpened opened =
            WebmailOpener(shell).open(folder, {c.mailClient, "http://m", "S", c.newBrowser});
        EXPECT_EQ(opened.way, c.way) << c.mailClient;
        EXPECT_EQ(shell.calls, std::vector<std::string>{c.call}) << c.mailClient;
        EXPECT_EQ(trayStateToWire(opened.trayStateToPost), WParam(c.tray)) << c.mailClient;
        EXPECT_EQ(opened.status.ok() ? "" : opened.status.error(), c.fail ? "refused" : "");
        EXPECT_EQ(WebmailOpener::usesMailClient(c.mailClient), c.tray == 0);
    }
}

}  // namespace
}  // namespace vellix
