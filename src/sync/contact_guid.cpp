#include "sync/contact_guid.h"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <random>

namespace vellix {
namespace {

void fillRandom(std::array<std::uint8_t, 16>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = getrandom(bytes.data() + done, bytes.size() - done, 0);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EINTR) {
            break;
        }
    }
    if (done == bytes.size()) return;
    // Kernels without getrandom: random_device reads the OS source as well.
    std::random_device device;
    for (auto& b : bytes) b = static_cast<std::uint8_t>(device());
}

}  // namespace

std::string newGuidText() {
    std::array<std::uint8_t, 16> bytes{};
    fillRandom(bytes);
    // Mark it as a random (version 4) GUID, as the platform call would.
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(32);
    for (auto b : bytes) {
        text.push_back(kHex[b >> 4]);
        text.push_back(kHex[b & 0x0F]);
    }
    return text;
}

}  // namespace vellix
