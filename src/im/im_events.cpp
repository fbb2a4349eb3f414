#include "im/im_events.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "core/ascii_case.h"
#include "core/string_table.h"
#include "server/reply_tags.h"

namespace vellix {
namespace {

constexpr std::string_view kGoneOffline = "<error>You have gone offline</error>";
constexpr std::string_view kSessionDeleted = "<error>this session is being deleted</error>";
constexpr std::string_view kWait = "<wait>A new wait request is taking your place</wait>";

// Byte order of the lower-cased texts, as a case-insensitive C comparison sorts.
bool lessNoCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(asciiLower(x)) <
               static_cast<unsigned char>(asciiLower(y));
    });
}

ImRecord parseMessage(std::string_view reply, std::string_view ownAddress) {
    ImMessage m;
    m.to = GetTagValue(reply, "to");
    m.from = GetTagValue(reply, "from");
    m.subject = GetTagValue(reply, "subject");
    m.messageText = GetTagValue(reply, "message_text");
    if (m.to.empty() || m.from.empty() || m.messageText.empty()) return {};
    auto keys = conversationKeys(m.to, m.from, ownAddress);
    if (!keys) return {};
    m.conversationKeys = std::move(*keys);
    return m;
}

ImRecord parseStatus(std::string_view reply) {
    ImStatusUpdate s{GetTagValue(reply, "email"), GetTagValue(reply, "status")};
    if (s.email.empty() || s.status.empty()) return {};
    return s;
}

ImRecord parseTransferRequest(std::string_view reply) {
    FileTransferRequest r;
    r.from = GetTagValue(reply, "from");
    r.filename = GetTagValue(reply, "filename");
    const std::string size = GetTagValue(reply, "filesize");
    if (r.from.empty() || r.filename.empty() || size.empty()) return {};
    r.filesize = toInt32Saturated(size);
    return r;
}

ImRecord parseTransferResponse(std::string_view reply) {
    FileTransferResponse r;
    r.from = GetTagValue(reply, "from");
    const std::string sendfile = GetTagValue(reply, "sendfile");
    r.filename = GetTagValue(reply, "filename");
    if (r.from.empty() || sendfile.empty() || r.filename.empty()) return {};
    r.accepted = equalsNoCase(sendfile, "yes");
    return r;
}

ImRecord parseTransferStatus(std::string_view reply) {
    FileTransferStatus s;
    s.peer = GetTagValue(reply, "from");
    if (s.peer.empty()) s.peer = GetTagValue(reply, "to");
    if (s.peer.empty()) return {};
    s.filename = GetTagValue(reply, "filename");
    s.status = GetTagValue(reply, "status");
    if (s.filename.empty() || s.status.empty()) return {};
    if (equalsNoCase(s.status, "available")) {
        const std::string size = GetTagValue(reply, "filesize");
        s.fileid = GetTagValue(reply, "fileid");
        if (size.empty() || s.fileid.empty()) return {};
        s.filesize = toInt32Saturated(size);
    }
    return s;
}

}  // namespace

std::string transferKey(std::string_view peer, std::string_view filename) {
    std::string key = asciiLowerCopy(peer);
    key += asciiLowerCopy(filename);
    return key;
}

std::string readReplyText(std::string_view body) {
    std::string text;
    std::size_t pos = 0;
    while (pos < body.size()) {
        std::size_t end = body.find('\n', pos);
        const std::size_t next = end == std::string_view::npos ? body.size() : end + 1;
        if (end == std::string_view::npos) end = body.size();
        std::string_view line = body.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r' && end < body.size()) line.remove_suffix(1);
        if (line.empty()) break;
        text += line;
        pos = next;
    }
    return text;
}

std::optional<std::string> conversationKeys(std::string_view to, std::string_view from,
                                            std::string_view ownAddress) {
    std::vector<std::string_view> others;
    bool addressed = false;
    std::size_t pos = 0;
    while (pos < to.size()) {
        const std::size_t end = std::min(to.find_first_of(", ", pos), to.size());
        const std::string_view token = to.substr(pos, end - pos);
        pos = end + 1;
        if (token.empty()) continue;
        if (equalsNoCase(token, ownAddress)) {
            addressed = true;
        } else {
            others.push_back(token);
        }
    }
    if (!addressed) return std::nullopt;
    if (others.empty()) return std::string();
    others.push_back(from);
    return joinSortedNoCase(std::move(others));
}

std::string joinSortedNoCase(std::vector<std::string_view> addresses) {
    std::stable_sort(addresses.begin(), addresses.end(), lessNoCase);
    std::string joined;
    for (std::string_view address : addresses) {
        if (!joined.empty()) joined += ',';
        joined += address;
    }
    return joined;
}

std::int32_t toInt32Saturated(std::string_view text) {
    std::size_t i = 0;
    auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), kMax + 1);
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(std::min(value, kMax));
}

ImReply parseImReply(std::string_view reply, std::string_view ownAddress) {
    if (reply.empty()) return {ReplyKind::Blank, {}};
    if (startsWithNoCase(reply, "<message>"))
        return {ReplyKind::Message, parseMessage(reply, ownAddress)};
    if (startsWithNoCase(reply, "<statusupdate>"))
        return {ReplyKind::StatusUpdate, parseStatus(reply)};
    if (startsWithNoCase(reply, "<filetransferrequest>"))
        return {ReplyKind::FileTransferRequest, parseTransferRequest(reply)};
    if (startsWithNoCase(reply, "<filetransferresponse>"))
        return {ReplyKind::FileTransferResponse, parseTransferResponse(reply)};
    if (startsWithNoCase(reply, "<filetransferstatus>"))
        return {ReplyKind::FileTransferStatus, parseTransferStatus(reply)};
    if (startsWithNoCase(reply, "<error>")) {
        if (startsWithNoCase(reply, kGoneOffline)) return {ReplyKind::GoneOffline, {}};
        if (startsWithNoCase(reply, kSessionDeleted)) return {ReplyKind::SessionDeleted, {}};
        return {ReplyKind::Error, {}};
    }
    if (startsWithNoCase(reply, kWait)) return {ReplyKind::Wait, {}};
    return {ReplyKind::Ignored, {}};
}

}  // namespace vellix
