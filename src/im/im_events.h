#pragma once
// The events a long-poll reply carries, and the pure reading of one reply: which kind it is
// and the record it holds. Replies come from the server and may be anything.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vellix {

struct ImMessage {
    std::string to;  // the recipient list as received
    std::string from;
    std::string subject;
    std::string messageText;
    // Group conversations: the other recipients and the sender, sorted ignoring case and
    // joined by ","; empty for a one-to-one conversation.
    std::string conversationKeys;
};

struct ImStatusUpdate {
    std::string email;
    std::string status;  // the protocol word as received
};

struct FileTransferRequest {
    std::string from;
    std::string filename;
    std::int32_t filesize = 0;
};

struct FileTransferResponse {
    std::string from;
    bool accepted = false;
    std::string filename;
};

struct FileTransferStatus {
    std::string peer;  // "from", else "to"
    std::string filename;
    std::string status;
    std::int32_t filesize = 0;  // only with "available"
    std::string fileid;         // only with "available"
};

// The key a transfer window is entered under: lower-case(peer + file name).
std::string transferKey(std::string_view peer, std::string_view filename);
inline std::string transferKey(const FileTransferResponse& r) {
    return transferKey(r.from, r.filename);
}
inline std::string transferKey(const FileTransferStatus& s) {
    return transferKey(s.peer, s.filename);
}

enum class ReplyKind {
    Blank,
    Message,
    StatusUpdate,
    FileTransferRequest,
    FileTransferResponse,
    FileTransferStatus,
    GoneOffline,     // "<error>You have gone offline</error>"
    SessionDeleted,  // "<error>this session is being deleted</error>"
    Error,           // any other "<error>"
    Wait,            // another client's long poll took this one's place
    Ignored,
};

using ImRecord = std::variant<std::monostate, ImMessage, ImStatusUpdate, FileTransferRequest,
                              FileTransferResponse, FileTransferStatus>;

struct ImReply {
    ReplyKind kind = ReplyKind::Blank;
    // The parsed record of an event kind; empty when a mandatory field is missing (the
    // event is dropped) and for the other kinds.
    ImRecord record;
};

// The reply text as the receiver reads it: the lines of `body` without their line ends
// ("\n" or "\r\n"), joined, up to the first empty line.
std::string readReplyText(std::string_view body);

// Classifies the reply by how it begins (letter case aside) and parses its record.
// `ownAddress` is the account's address: a message not addressed to it is dropped.
ImReply parseImReply(std::string_view reply, std::string_view ownAddress);

// The key list of a message to `to` from `from`; nothing when `to` lacks the own address.
std::optional<std::string> conversationKeys(std::string_view to, std::string_view from,
                                            std::string_view ownAddress);

// The addresses sorted ascending by case-insensitive byte order, joined by "," without blanks:
// the recipient list of a group send and the key of a group conversation.
std::string joinSortedNoCase(std::vector<std::string_view> addresses);

// Decimal conversion as atol reads it (blanks, a sign, digits up to the first other byte),
// kept within the 32-bit range.
std::int32_t toInt32Saturated(std::string_view text);

}  // namespace vellix
