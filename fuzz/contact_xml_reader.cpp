// Address-book files come from the server and from disk: any bytes must read without
// harm. The one-scan field extraction must agree with a plain search per tag, and the
// way the bytes are chunked must not change what is read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "sync/contact_list.h"
#include "sync/contact_xml.h"

namespace {

void checkFieldsAgree(std::string_view text) {
    const vellix::ContactRecord record = vellix::parseContactElement(text);
    for (std::size_t i = 0; i < vellix::kContactXmlTags.size(); ++i) {
        const std::string value = vellix::contactTagValue(text, vellix::kContactXmlTags[i]);
        if (i == vellix::kImapUidTag) {
            if (record.imapUID != vellix::parseImapUid(value)) std::abort();
        } else if (record.text(static_cast<vellix::ContactText>(i)) != value) {
            std::abort();
        }
    }
}

std::vector<std::string> emailsOf(const vellix::ContactList& list) {
    std::vector<std::string> out;
    for (const auto& record : list) {
        if (record.guid().empty()) std::abort();  // every record read has an identity
        out.emplace_back(record.email());
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkFieldsAgree(bytes);

    vellix::ContactList whole;
    vellix::readContactXmlText(bytes, whole);

    vellix::ContactList chunked;
    vellix::ContactXmlReader reader(chunked);
    const std::size_t step = size == 0 ? 1 : 1 + data[0] % 97;
    for (std::size_t at = 0; at < size; at += step) reader.feed(bytes.substr(at, step));
    reader.finish();
    if (emailsOf(whole) != emailsOf(chunked)) std::abort();
    return 0;
}
