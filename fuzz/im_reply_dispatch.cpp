// Long-poll replies come from the server: any bytes must read without harm, and every
// record field is a piece of the reply (or the tag reader's error marker).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "im/im_events.h"
#include "server/reply_tags.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void checkPiece(std::string_view reply, const std::string& value) {
    check(value == vellix::kServerError || reply.find(value) != std::string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const std::string reply = vellix::readReplyText(body);
    check(reply.size() <= body.size());
    check(reply.find('\n') == std::string::npos);
    const vellix::ImReply parsed = vellix::parseImReply(reply, "me@x.test");
    check((parsed.kind == vellix::ReplyKind::Blank) == reply.empty());
    if (const auto* m = std::get_if<vellix::ImMessage>(&parsed.record)) {
        check(!m->to.empty() && !m->from.empty() && !m->messageText.empty());
        checkPiece(reply, m->to);
        checkPiece(reply, m->messageText);
        // The key list holds the sender and no more bytes than the recipients give it.
        check(m->conversationKeys.empty() ||
              m->conversationKeys.size() <= m->to.size() + m->from.size() + 1);
    } else if (const auto* s = std::get_if<vellix::FileTransferStatus>(&parsed.record)) {
        checkPiece(reply, s->peer);
        check(!s->status.empty() && !s->filename.empty());
    } else if (const auto* r = std::get_if<vellix::FileTransferRequest>(&parsed.record)) {
        checkPiece(reply, r->filename);
    }
    // The size conversion agrees with the C library's, clamped to 32 bits.
    const std::string digits(body.substr(0, 40).substr(0, body.substr(0, 40).find('\0')));
    long long wide = std::strtoll(digits.c_str(), nullptr, 10);
    wide = std::max<long long>(std::min<long long>(wide, INT32_MAX), INT32_MIN);
    check(vellix::toInt32Saturated(digits) == wide);
    return 0;
}
