// Cards come from any program that writes the vCard folders: any bytes must read without
// harm, written cards keep their lines within 75 bytes, and a card written from what was
// read reads back the same after one round (a first round may normalise line breaks).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sync/vcard_codec.h"

namespace {

void checkLines(const std::string& card) {
    std::size_t start = 0;
    for (std::size_t end; (end = card.find("\r\n", start)) != std::string::npos; start = end + 2) {
        if (end - start > 75) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vellix::VcardContact first = vellix::parseVcard(bytes);
    const std::string once = vellix::writeVcard(first.record, first.uid, "sort");
    checkLines(once);
    const vellix::VcardContact second = vellix::parseVcard(once);
    const std::string twice = vellix::writeVcard(second.record, second.uid, "sort");
    if (vellix::parseVcard(twice).record != second.record) std::abort();
    return 0;
}
