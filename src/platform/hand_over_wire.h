#pragma once
// The bytes a later instance sends to the running one over the local socket.
//   post:     'P' u32 message, u64 wParam, i64 lParam          (little-endian)
//   copydata: 'C' u32 kind, u32 length, length bytes of data
// The running instance answers each request with one byte: 1 handled/TRUE, 0 FALSE.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "core/frame.h"
#include "core/single_instance.h"

namespace vellix {

inline constexpr std::size_t kMaxHandOverData = 1 << 20;

struct PostRequest {
    MessageId id = 0;
    WParam w = 0;
    LParam l = 0;
};

std::string encodePostRequest(const PostRequest& request);
std::string encodeCopyDataRequest(std::uint32_t kind, std::string_view data);

enum class DecodeState { NeedMore, Complete, Malformed };

struct DecodedRequest {
    DecodeState state = DecodeState::NeedMore;
    std::size_t consumed = 0;
    std::variant<PostRequest, CopyData> request;
};

// Decodes the first request in buffer, which may hold only part of one.
DecodedRequest decodeHandOverRequest(std::string_view buffer);

}  // namespace vellix
