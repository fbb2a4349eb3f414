#pragma once
// What the server frame does with a webmail link (UM_OPEN_LINK): start the legacy mail
// client when one is configured, otherwise build the page's address and open it.
//
// The frame logs in again before calling open() whenever usesMailClient() is false, so
// that the address carries a live session (on failure it posts the lost tray state and opens the
// page with the session it has). Afterwards it posts result.trayStateToPost, unless Keep.

#include <cstdint>
#include <string>

#include "core/desktop_shell.h"
#include "server/webmail_link.h"

namespace vellix {

struct WebmailSettings {
    std::string mailClient;  // "MailClient"
    std::string serverUrl;   // "URL"
    std::string sessionId;
    bool openInNewBrowser = true;  // "OpenInNewBrowser"
};

struct LinkOpened {
    enum class Way { MailClient, NewBrowser, Desktop };
    Way way = Way::Desktop;
    // The page's address, or the mail client's program.
    std::string target;
    std::string parameters;
    // The link's tray state for a page; Keep when the mail client took its place.
    TrayState trayStateToPost = TrayState::Keep;
    Status status = success();
};

class WebmailOpener {
  public:
    explicit WebmailOpener(DesktopShell& shell) : shell_(shell) {}

    // True when the setting names a mail client, which then opens instead of any page.
    static bool usesMailClient(std::string_view mailClientSetting);

    LinkOpened open(const WebmailLink& link, const WebmailSettings& settings);

  private:
    DesktopShell& shell_;
};

}  // namespace vellix
