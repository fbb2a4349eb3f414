#include "server/text_codecs.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace vellix {
namespace {

bool copiedAsIs(unsigned char byte) {
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        (byte >= '0' && byte <= '9'))
        return true;
    return byte != 0 && std::strchr("$-_.!*'(),~", byte) != nullptr;
}

bool isUtf8Codeset(std::string_view codeset) {
    std::string folded;
    for (const char ch : codeset)
        if (ch != '-' && ch != '_') folded += static_cast<char>(ch | 0x20);
    return folded == "utf8";
}

// The text a C reader of the buffer sees, cut to leave room for the terminator.
std::string_view textBeforeNul(const std::string& buffer) {
    return std::string_view(buffer).substr(0, buffer.find('\0'));
}

std::size_t room(std::size_t capacity) {
    return capacity == 0 ? 0 : capacity - 1;
}

// Cuts UTF-8 text to at most `limit` bytes without splitting a character.
std::string_view cutUtf8(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t cut = limit;
    for (int back = 0;
         back < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++back)
        --cut;
    return text.substr(0, cut);
}

// Converts to UTF-16 units; false when the charset is unknown or a byte does not convert.
bool toUtf16(std::string_view text, const char* codeset, std::u16string& units) {
    const iconv_t cd = iconv_open("UTF-16LE", codeset);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::vector<char> out(text.size() * 4 + 8);
    std::string input(text);
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::size_t used = 0;
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        used = out.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1)) break;
        if (errno != E2BIG) {
            ok = false;
            break;
        }
        out.resize(out.size() * 2);
    }
    iconv_close(cd);
    if (!ok) return false;
    units.clear();
    for (std::size_t i = 0; i + 1 < used; i += 2)
        units += static_cast<char16_t>(static_cast<unsigned char>(out[i]) |
                                       (static_cast<unsigned char>(out[i + 1]) << 8));
    return true;
}

}  // namespace

std::string UrlEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size() * 3);
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (copiedAsIs(byte)) {
            encoded += ch;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::size_t EncodeUtf8(std::u16string_view units, char* out, std::size_t capacity) {
    std::size_t written = 0;
    for (std::size_t i = 0; i < units.size() && units[i] != 0; ++i) {
        char32_t point = units[i];
        if ((point & 0xF800) == 0xD800) {
            if (i + 1 >= units.size() || units[i + 1] == 0) break;
            point = (((point & 0x3FF) << 10) | (units[++i] & 0x3FF)) + 0x10000;
        }
        unsigned char bytes[4];
        std::size_t length;
        if (point < 0x80) {
            bytes[0] = static_cast<unsigned char>(point);
            length = 1;
        } else if (point < 0x800) {
            bytes[0] = static_cast<unsigned char>(0xC0 | (point >> 6));
            bytes[1] = static_cast<unsigned char>(0x80 | (point & 0x3F));
            length = 2;
        } else if (point > 0xFFFF) {
            bytes[0] = static_cast<unsigned char>(0xF0 | (point >> 18));
            bytes[1] = static_cast<unsigned char>(0x80 | ((point >> 12) & 0x3F));
            bytes[2] = static_cast<unsigned char>(0x80 | ((point >> 6) & 0x3F));
            bytes[3] = static_cast<unsigned char>(0x80 | (point & 0x3F));
            length = 4;
        } else {
            bytes[0] = static_cast<unsigned char>(0xE0 | (point >> 12));
            bytes[1] = static_cast<unsigned char>(0x80 | ((point >> 6) & 0x3F));
            bytes[2] = static_cast<unsigned char>(0x80 | (point & 0x3F));
            length = 3;
        }
        if (out != nullptr) {
            if (written + length > capacity) break;
            std::memcpy(out + written, bytes, length);
        }
        written += length;
    }
    if (out != nullptr && written < capacity) out[written] = '\0';
    return written;
}

bool ToUtf8InPlace(std::string& buffer, std::size_t capacity, const char* codeset) {
    const std::string_view text = textBeforeNul(buffer);
    if (isUtf8Codeset(codeset)) {
        buffer = std::string(cutUtf8(text, room(capacity)));
        return true;
    }
    std::u16string units;
    if (!toUtf16(text, codeset, units)) {
        buffer = std::string(text.substr(0, room(capacity)));
        return false;
    }
    std::string converted(room(capacity), '\0');
    converted.resize(EncodeUtf8(units, converted.data(), converted.size()));
    buffer = std::move(converted);
    return true;
}

bool ToUtf8InPlace(std::string& buffer, std::size_t capacity) {
    return ToUtf8InPlace(buffer, capacity, nl_langinfo(CODESET));
}

}  // namespace vellix
