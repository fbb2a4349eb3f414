#pragma once
// The wire form of one sent message and the reading of the server's answer: plain
// functions, shared by the messaging frame (which sends) and the window (which judges).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vellix {

// What a conversation window hands to the messaging frame.
struct SendRequest {
    std::string recipients;   // addresses joined by "," without blanks, as sent
    std::string encodedText;  // key-table encoded, then URL-encoded
};

// The answer a window gets when nothing came back from the server.
inline constexpr std::string_view kServerErrorResult =
    "A server error has occurred!\r\nThe server may have gone offline.\r\nThe message could not "
    "be delivered.\r\n\r\nPlease contact the administrator\r\nif the problem persists.\r\n";
// The longest result text a window is given.
inline constexpr std::size_t kMaxSendResultBytes = 510;

// The typed bytes as they travel: key-table encoding, then URL encoding.
std::string encodeMessageText(std::string_view typed);
std::string sendMessageUrl(std::string_view serverUrl, std::string_view sessionId);
std::string sendMessageBody(const SendRequest& request);

// The values of every "sendresult" in the reply, in order, each followed by "\r\n"; the
// fixed server-error text when there was no reply. Cut to kMaxSendResultBytes.
std::string sendResultText(const std::optional<std::string>& reply);

enum class SendVerdict {
    Delivered,    // some result says "Success"
    NoResult,     // an empty result: the server answered without any verdict
    Undelivered,  // the result text says why
};
SendVerdict judgeSendResult(std::string_view result);

}  // namespace vellix
