// Whatever reaches the instance socket must decode to requests or be refused, and every
// decoded request must encode back to the bytes it came from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/hand_over_wire.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view buffer(reinterpret_cast<const char*>(data), size);
    while (!buffer.empty()) {
        const auto decoded = vellix::decodeHandOverRequest(buffer);
        if (decoded.state != vellix::DecodeState::Complete) break;
        if (decoded.consumed == 0 || decoded.consumed > buffer.size()) std::abort();
        std::string again;
        if (const auto* post = std::get_if<vellix::PostRequest>(&decoded.request)) {
            again = vellix::encodePostRequest(*post);
        } else {
            const auto& copy = std::get<vellix::CopyData>(decoded.request);
            again = vellix::encodeCopyDataRequest(copy.kind, copy.data);
        }
        if (again != buffer.substr(0, decoded.consumed)) std::abort();
        buffer.remove_prefix(decoded.consumed);
    }
    return 0;
}
