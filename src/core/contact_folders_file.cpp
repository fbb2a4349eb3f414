#include "core/contact_folders_file.h"

#include <cstdint>

#include "core/atomic_file.h"

namespace vellix {

namespace {

void putString(std::string& out, const std::string& value) {
    const auto size = static_cast<std::uint32_t>(value.size());
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((size >> shift) & 0xFF));
    out += value;
}

Result<std::string> takeString(std::string_view& in) {
    if (in.size() < 4) return failure("contact folder file is truncated");
    std::uint32_t size = 0;
    for (int i = 3; i >= 0; --i) {
        size = (size << 8) | static_cast<unsigned char>(in[static_cast<std::size_t>(i)]);
    }
    in.remove_prefix(4);
    if (size > kMaxContactFolderIdBytes) return failure("contact folder identifier too long");
    if (in.size() < size) return failure("contact folder file is truncated");
    std::string value(in.substr(0, size));
    in.remove_prefix(size);
    return value;
}

}  // namespace

std::string encodeContactFolders(const ContactFolderIds& ids) {
    std::string out;
    putString(out, ids.publicId);
    putString(out, ids.privateId);
    return out;
}

Result<ContactFolderIds> decodeContactFolders(std::string_view bytes) {
    auto publicId = takeString(bytes);
    if (!publicId) return failure(publicId.error());
    auto privateId = takeString(bytes);
    if (!privateId) return failure(privateId.error());
    if (!bytes.empty()) return failure("contact folder file has trailing bytes");
    return ContactFolderIds{std::move(publicId).value(), std::move(privateId).value()};
}

Result<ContactFolderIds> readContactFolders(const std::string& path) {
    auto bytes = readFileBytes(path, 2 * (kMaxContactFolderIdBytes + 4));
    if (!bytes) return failure(bytes.error());
    if (!bytes->has_value()) return ContactFolderIds{};
    return decodeContactFolders(**bytes);
}

Status writeContactFolders(const std::string& path, const ContactFolderIds& ids) {
    if (ids.publicId.size() > kMaxContactFolderIdBytes ||
        ids.privateId.size() > kMaxContactFolderIdBytes) {
        return failure("contact folder identifier too long");
    }
    return writeFileAtomically(path, encodeContactFolders(ids));
}

}  // namespace vellix
