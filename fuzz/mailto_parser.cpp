// Mail-to texts come from other programs' links: any bytes must parse without harm, and the
// request must always start with the compose page.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tray/mailto.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string request = vellix::parseMailto(text);
    if (request.rfind("&View=Compose&NextNew=Yes", 0) != 0) std::abort();
    if (request.size() > size + 64) std::abort();
    return 0;
}
