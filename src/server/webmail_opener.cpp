#include "server/webmail_opener.h"

#include "server/webmail_url.h"

namespace vellix {

bool WebmailOpener::usesMailClient(std::string_view mailClientSetting) {
    return !trimCommandText(mailClientSetting).empty();
}

LinkOpened WebmailOpener::open(const WebmailLink& link, const WebmailSettings& settings) {
    LinkOpened result;
    if (usesMailClient(settings.mailClient)) {
        MailClientCommand command = parseMailClient(settings.mailClient);
        result.way = LinkOpened::Way::MailClient;
        result.status = shell_.startProgram(command.program, command.parameters);
        result.target = std::move(command.program);
        result.parameters = std::move(command.parameters);
        return result;
    }
    result.target = buildWebmailUrl(settings.serverUrl, settings.sessionId, link);
    result.trayStateToPost = link.trayStateAfter;
    if (settings.openInNewBrowser) {
        result.way = LinkOpened::Way::NewBrowser;
        result.status = shell_.openInNewBrowser(result.target);
    } else {
        result.way = LinkOpened::Way::Desktop;
        result.status = shell_.openUrl(result.target);
    }
    return result;
}

}  // namespace vellix
