#pragma once
// Mail-to texts from the command line, a second instance or a conversation link.

#include <string>
#include <string_view>

#include "server/webmail_link.h"

namespace vellix {

// The compose page request for a mail-to text; values stay as they came (percent-encoded).
std::string parseMailto(std::string_view text);

// The link that opens that compose page; it leaves the tray alone.
WebmailLink mailtoLink(std::string_view text);

}  // namespace vellix
