#pragma once
// An INI profile held in memory: the parsing, lookup and editing rules behind ProfileFile.
//
// Rules, chosen to match what Windows profile files do where Vellix depends on it:
// - Section and key names compare case-insensitively (ASCII); the spelling first written
//   is kept. Names and values are trimmed of blanks; a value in matching quotes loses them.
// - Lines end in LF or CRLF and keep their own ending when written back; new lines take
//   the ending of the document's first line, so a CRLF file stays CRLF.
// - A line "[name" without "]" names a section too. Lines before the first section,
//   lines without "=", lines starting with ";" and empty keys are kept but never read.
// - Duplicate sections or keys: the first one is read, and key writes and deletes go to
//   the first section of that name (a delete removes every copy of the key in it);
//   removeSection removes every section of that name.
// - Bytes are not interpreted: NUL and non-UTF-8 bytes pass through untouched.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/result.h"

namespace vellix {

struct ProfileEntry {
    std::string key;
    std::string value;
    bool operator==(const ProfileEntry&) const = default;
};

class ProfileDocument {
  public:
    static ProfileDocument parse(std::string_view bytes);
    // False for bytes that are no settings text (NUL or other control bytes): such a file is
    // never rewritten, so nothing of it is lost.
    static bool isText(std::string_view bytes);
    std::string serialize() const;

    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    // Distinct names, first spelling, in file order.
    std::vector<std::string> sectionNames() const;
    // The entries of the first section of that name, duplicates included, in file order.
    std::vector<ProfileEntry> section(std::string_view name) const;

    // Writes refuse names and values that would break the line structure (line breaks,
    // "=" in a key, "]" in a section name, empty names).
    Status set(std::string_view section, std::string_view key, std::string_view value);
    // Removing the last entry of a section removes the section.
    void removeKey(std::string_view section, std::string_view key);
    Status replaceSection(std::string_view section, const std::vector<ProfileEntry>& entries);
    void removeSection(std::string_view section);

  private:
    struct Section {
        std::string name;
        std::string header;
        std::vector<std::string> lines;
        // Lower-cased key -> index of its first line; built on first lookup.
        mutable std::unordered_map<std::string, std::size_t> keys;
        mutable bool indexed = false;
    };

    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;
    Section& sectionForWrite(std::string_view name);
    void indexSections() const;
    static void indexKeys(const Section& section);
    static bool hasContent(const Section& section);

    // Lines are stored with a trailing '\r' when they had one; new lines get one when the
    // first line had one.
    const char* lineEnd() const { return crlf_ ? "\r" : ""; }
    bool crlf_ = false;
    std::vector<std::string> preamble_;
    std::vector<Section> sections_;
    mutable std::unordered_map<std::string, std::size_t> sectionIndex_;
    mutable bool sectionsIndexed_ = false;
};

// Helpers shared by the settings code.
std::string lowerAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool startsWithIgnoreCase(std::string_view text, std::string_view prefix);
std::string_view trimBlanks(std::string_view text);

}  // namespace vellix
