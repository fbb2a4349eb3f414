#pragma once
// Names in a transfer: the recipients of an offer, and the file name a peer or the server
// proposes, which must never lead a save outside the folder the user picks.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellix {

// The protocol carries sizes as signed 32-bit numbers; larger files cannot be offered.
inline constexpr std::uint64_t kMaxTransferSize = 0x7fffffff;

// Addresses of a recipient list, split at commas and blanks; empty pieces dropped.
std::vector<std::string> splitRecipients(std::string_view list);

// One file name safe to propose in a folder: the last path component, without control
// characters, without leading dots or trailing dots and blanks, at most 255 bytes (cut at a
// whole UTF-8 character, keeping a short extension); "received-file" when nothing is left.
std::string safeFileName(std::string_view proposed);

}  // namespace vellix
