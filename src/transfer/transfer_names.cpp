#include "transfer/transfer_names.h"

namespace vellix {
namespace {

constexpr size_t kMaxNameBytes = 255;  // NAME_MAX of the usual file systems
constexpr size_t kMaxKeptExtension = 16;
constexpr std::string_view kFallbackName = "received-file";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Cuts `text` to at most `limit` bytes without splitting a UTF-8 sequence.
std::string_view cutUtf8(std::string_view text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

std::vector<std::string> splitRecipients(std::string_view list) {
    std::vector<std::string> out;
    std::string current;
    for (char c : list) {
        if (c == ',' || isBlank(c)) {
            if (!current.empty()) out.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) out.push_back(std::move(current));
    return out;
}

std::string safeFileName(std::string_view proposed) {
    // Both separators count: a Windows sender may send "C:\dir\name".
    if (const size_t slash = proposed.find_last_of("/\\"); slash != std::string_view::npos) {
        proposed.remove_prefix(slash + 1);
    }
    std::string name;
    for (char c : proposed) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f) continue;
        name += c;
    }
    // Leading dots would hide the file or make "." and ".."; trailing dots and blanks are
    // invisible in a dialog.
    const size_t first = name.find_first_not_of(". \t");
    if (first == std::string::npos) return std::string(kFallbackName);
    name.erase(0, first);
    while (!name.empty() && (name.back() == '.' || isBlank(name.back()))) name.pop_back();
    if (name.size() > kMaxNameBytes) {
        const size_t dot = name.rfind('.');
        std::string_view extension;
        if (dot != std::string::npos && name.size() - dot <= kMaxKeptExtension) {
            extension = std::string_view(name).substr(dot);
        }
        std::string cut(cutUtf8(name, kMaxNameBytes - extension.size()));
        cut += extension;
        name = std::move(cut);
    }
    return name;
}

}  // namespace vellix
