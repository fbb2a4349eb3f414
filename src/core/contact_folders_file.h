#pragma once
// "confolder.dat": the identifiers of the local public and private contact folders chosen
// for synchronization. Two byte strings, each a 4-byte little-endian length then the bytes.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/result.h"

namespace vellix {

struct ContactFolderIds {
    std::string publicId;
    std::string privateId;
    bool operator==(const ContactFolderIds&) const = default;
};

// Identifiers are opaque store handles; anything longer than this is a damaged file.
inline constexpr std::size_t kMaxContactFolderIdBytes = 1u << 20;

std::string encodeContactFolders(const ContactFolderIds& ids);
// Fails on a truncated file, a length over the limit or bytes after the second string.
Result<ContactFolderIds> decodeContactFolders(std::string_view bytes);

// A missing file gives empty identifiers (the address book's root folders).
Result<ContactFolderIds> readContactFolders(const std::string& path);
Status writeContactFolders(const std::string& path, const ContactFolderIds& ids);

}  // namespace vellix
