// Webmail links opened for other frames, one at a time in the order they were posted.
#include "core/settings_keys.h"
#include "core/string_table.h"
#include "server/server_frame.h"
#include "server/webmail_opener.h"
#include "server/webmail_url.h"

namespace vellix {

FrameTask<> CMainFrame_ServerInterface::openLink(WebmailLink link) {
    if (!deps_.shell) co_return;
    const ProfileFile ini(deps_.iniPath);
    WebmailSettings settings;
    settings.mailClient = trimCommandText(readKey(ini, ini::kMailClient));
    settings.openInNewBrowser = deps_.accountSettings.read(account::kOpenInNewBrowser);
    if (!WebmailOpener::usesMailClient(settings.mailClient)) {
        // The page must carry a live session; without one it still opens (the server then
        // shows its sign-in page) and the tray says the connection is lost.
        const bool loggedIn = co_await Login();
        if (!loggedIn) postTrayState(deps_.frames, TrayState::Lost);
    }
    settings.serverUrl = serverUrl();
    settings.sessionId = sessionId();
    const LinkOpened opened = WebmailOpener(*deps_.shell).open(link, settings);
    if (!opened.status) {
        const std::string reason = opened.target + ": " + opened.status.error();
        if (deps_.trace) deps_.trace("Could not open " + reason + "\n");
        // The user asked for a page: a browser that does not start is said, not swallowed.
        std::string text = word(IDS_DESKTOP_ACTION_FAILED);
        if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, reason);
        if (deps_.dialogs) deps_.dialogs->showError(text);
    }
    if (opened.trayStateToPost != TrayState::Keep)
        postTrayState(deps_.frames, opened.trayStateToPost);
}

}  // namespace vellix
