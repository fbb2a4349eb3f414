#pragma once
// Webmail page addresses, and the legacy mail client that may take the pages' place.

#include <string>
#include <string_view>

#include "server/webmail_link.h"

namespace vellix {

// serverUrl + "/" (unless it already ends in ".cgi", ".dll" or "/", any case) +
// "?Session=" + sessionId + the link's format with its arguments URL-encoded into the
// "%s" places in order + "&Frames=Yes". Arguments after the last "%s" are dropped.
std::string buildWebmailUrl(std::string_view serverUrl, std::string_view sessionId,
                            const WebmailLink& link);

// Blanks, tabs, carriage returns and line feeds removed at both ends.
std::string_view trimCommandText(std::string_view text);

struct MailClientCommand {
    std::string program;
    std::string parameters;
};

// Splits the "MailClient" setting: a text naming an existing file is the program alone;
// otherwise a quoted program ("...") or the text up to the first blank, and the rest,
// trimmed, as parameters.
MailClientCommand parseMailClient(std::string_view text);

}  // namespace vellix
