// Stored passwords and message texts come from files and the server: decoding any text
// must work, and the codec must round-trip whatever it is given.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/password_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const std::string encoded = vellix::encodeWithKeyTable(input);
    if (vellix::decodeWithKeyTable(encoded) != input) std::abort();
    if (encoded.size() != (size * 4 + 2) / 3) std::abort();

    const std::string decoded = vellix::decodeWithKeyTable(input);
    if (decoded.size() > size) std::abort();
    if (vellix::decodeWithKeyTable(vellix::encodeWithKeyTable(decoded)) != decoded) std::abort();
    return 0;
}
