#pragma once
// Helpers shared by the contact tests: a scratch folder, whole-file I/O, golden files.

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "sync/contact_list.h"
#include "sync/contact_record.h"
#include "sync/contact_xml.h"

namespace vellix {

// Failures show a record as the element it would be written as.
inline void PrintTo(const ContactRecord& record, std::ostream* os) {
    std::string text;
    appendContactXml(record, text);
    *os << text;
    if (record.imapUID == 0) *os << "(imapUID 0)";
}

}  // namespace vellix

namespace vellix::testing {

class ScratchDir {
  public:
    std::string file(const std::string& name) const { return (path() / name).string(); }
    std::filesystem::path path() const { return dir_.path().toStdString(); }

  private:
    QTemporaryDir dir_;
};

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string goldenPath(const std::string& name) {
    return std::string(VELLIX_SOURCE_DIR) + "/tests/sync/data/" + name;
}

inline ContactRecord contact(const std::string& email, const std::string& fullName = {},
                             const std::string& guid = {}) {
    ContactRecord record;
    record.email = email;
    record.fullName = fullName;
    record.guid = guid;
    return record;
}

inline std::vector<ContactRecord> records(const ContactList& list) {
    return std::vector<ContactRecord>(list.begin(), list.end());
}

inline bool isGuidText(const std::string& text) {
    if (text.size() != 32) return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

}  // namespace vellix::testing
