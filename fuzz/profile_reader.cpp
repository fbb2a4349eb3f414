// Arbitrary bytes as a settings file: every read must give an answer, and an edit must
// read back after the file is written out and parsed again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/contact_folders_file.h"
#include "core/profile_document.h"
#include "core/profile_file.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)vellix::decodeContactFolders(bytes);

    vellix::ProfileDocument doc = vellix::ProfileDocument::parse(bytes);
    const auto names = doc.sectionNames();
    for (const auto& name : names) {
        for (const auto& entry : doc.section(name)) {
            (void)vellix::parseProfileInt(entry.value, 0);
            (void)vellix::parseProfileBool(entry.value);
            check(doc.find(name, entry.key).has_value());
        }
    }
    (void)doc.find("Vellix", "URL");

    // Re-reading what was written keeps every section name.
    const vellix::ProfileDocument again = vellix::ProfileDocument::parse(doc.serialize());
    check(again.sectionNames() == names);

    if (doc.set("Fuzz", "Key", "value").ok()) {
        const auto reparsed = vellix::ProfileDocument::parse(doc.serialize());
        check(reparsed.find("fuzz", "KEY") == std::optional<std::string>("value"));
    }
    if (!names.empty()) {
        doc.removeSection(names.front());
        check(!vellix::ProfileDocument::parse(doc.serialize()).find(names.front(), "Key") ||
              names.front().empty());
    }
    return 0;
}
