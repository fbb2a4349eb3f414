#include "platform/hand_over_wire.h"

namespace vellix {
namespace {

template <class T>
void putLittleEndian(std::string& out, T value) {
    auto bits = static_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        out.push_back(static_cast<char>(bits & 0xFF));
        bits >>= 8;
    }
}

template <class T>
T getLittleEndian(std::string_view in, std::size_t at) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    }
    return static_cast<T>(bits);
}

constexpr std::size_t kPostSize = 1 + 4 + 8 + 8;
constexpr std::size_t kCopyHeader = 1 + 4 + 4;

}  // namespace

std::string encodePostRequest(const PostRequest& request) {
    std::string out(1, 'P');
    putLittleEndian<std::uint32_t>(out, request.id);
    putLittleEndian<std::uint64_t>(out, request.w);
    putLittleEndian<std::int64_t>(out, request.l);
    return out;
}

std::string encodeCopyDataRequest(std::uint32_t kind, std::string_view data) {
    std::string out(1, 'C');
    putLittleEndian<std::uint32_t>(out, kind);
    putLittleEndian<std::uint32_t>(out, static_cast<std::uint32_t>(data.size()));
    out.append(data);
    return out;
}

DecodedRequest decodeHandOverRequest(std::string_view buffer) {
    DecodedRequest out;
    if (buffer.empty()) return out;
    if (buffer[0] == 'P') {
        if (buffer.size() < kPostSize) return out;
        out.request = PostRequest{getLittleEndian<std::uint32_t>(buffer, 1),
                                  getLittleEndian<std::uint64_t>(buffer, 5),
                                  getLittleEndian<std::int64_t>(buffer, 13)};
        out.state = DecodeState::Complete;
        out.consumed = kPostSize;
        return out;
    }
    if (buffer[0] == 'C') {
        if (buffer.size() < kCopyHeader) return out;
        const auto length = getLittleEndian<std::uint32_t>(buffer, 5);
        if (length > kMaxHandOverData) {
            out.state = DecodeState::Malformed;
            return out;
        }
        if (buffer.size() < kCopyHeader + length) return out;
        out.request = CopyData{getLittleEndian<std::uint32_t>(buffer, 1),
                               std::string(buffer.substr(kCopyHeader, length))};
        out.state = DecodeState::Complete;
        out.consumed = kCopyHeader + length;
        return out;
    }
    out.state = DecodeState::Malformed;
    return out;
}

}  // namespace vellix
