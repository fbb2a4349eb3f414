// Replies come from the server: any bytes must read without harm. A value found is a piece
// of the reply, block walks move forward and end, and the forward-only rest-of-reply look-up
// agrees with the plain reader at every block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "server/reply_tags.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool isPieceOrMarker(std::string_view reply, const std::string& value) {
    return value == vellix::kServerError || reply.find(value) != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    static const char* const kNames[] = {"a", "b", "folder", "f"};
    const std::string_view blockName = kNames[data[0] & 3];
    const std::string_view name = kNames[(data[0] >> 2) & 3];
    const std::size_t capacity = data[0] >> 4;
    const std::string_view reply(reinterpret_cast<const char*>(data + 3), size - 3);
    const std::size_t begin = data[1] * reply.size() / 255;
    const std::size_t end = data[2] * reply.size() / 255;

    check(isPieceOrMarker(reply, vellix::GetTagValue(reply, name)));
    const std::string cut = vellix::GetTagValue(reply, begin, end, name, capacity);
    check(cut.size() < capacity || (capacity == 0 && cut.empty()));
    check(vellix::GetTagInt(reply, begin, end, name) >= -1);

    vellix::ReplyBlocks blocks(reply, blockName);
    std::size_t previous = 0;
    std::size_t count = 0;
    for (;;) {
        for (const std::string_view restName : {name, std::string_view("alert")})
            check(blocks.restValue(restName) ==
                  vellix::GetTagValue(reply, blocks.position(), reply.size(), restName));
        if (!blocks.next()) break;
        check(blocks.begin() >= previous + blockName.size() + 2);
        check(blocks.begin() <= blocks.end() && blocks.end() < blocks.position());
        check(blocks.position() <= reply.size());
        check(reply.substr(blocks.end(), blockName.size() + 3) ==
              "</" + std::string(blockName) + ">");
        const std::string value = blocks.value(name);
        check(value == vellix::GetTagValue(reply, blocks.begin(), blocks.end(), name));
        check(isPieceOrMarker(reply, value));
        previous = blocks.position();
        check(++count <= reply.size() / (2 * blockName.size() + 5));
    }
    check(!blocks.next());
    return 0;
}
