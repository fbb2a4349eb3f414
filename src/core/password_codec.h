#pragma once
// The key-table codec: XOR chaining through a fixed 256-byte permutation, then Base64
// without padding. Remembered passwords in Vellix.ini and the text of instant messages
// use the same transform, so every client of one server must share the table.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellix {

// The fixed permutation of 0..255. Changing it breaks stored passwords and messaging
// with other clients.
const std::array<std::uint8_t, 256>& codecKeyTable();

// Any bytes in; Base64 text (standard alphabet, no "=") out, 4 characters per 3 bytes.
std::string encodeWithKeyTable(std::string_view plain);

// Reverses encodeWithKeyTable. Characters outside the Base64 alphabet (padding, line
// breaks, garbage) are skipped; bits left over at the end are dropped. Never fails.
std::string decodeWithKeyTable(std::string_view encoded);

inline std::string encodePassword(std::string_view password) {
    return encodeWithKeyTable(password);
}
inline std::string decodePassword(std::string_view stored) {
    return decodeWithKeyTable(stored);
}

}  // namespace vellix
