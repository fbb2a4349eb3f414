#pragma once
// A settings file in INI form, read and written by path like the Windows profile
// functions Vellix was written against. Parsing rules are in profile_document.h.
//
// - Reads never fail: a missing, unreadable or oversized file, or an empty path, gives the
//   caller's default.
// - Every write is one read-modify-write of the whole file under a per-file lock, saved
//   through a temporary file and rename(), so concurrent writers in this process lose
//   nothing and a crash leaves the old or the new file. Other processes are kept out by
//   flock() on the file's folder during the write.
// - A write fails (and leaves the file as it was) when the folder is missing or not
//   writable, or when the existing file cannot be read or is no settings text (binary).

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile_document.h"
#include "core/result.h"

namespace vellix {

// Integer values as the profile integer reader sees them: optional blanks and sign, then
// decimal digits up to the first other character ("12abc" is 12). No digits at all gives
// the default; values beyond the int range saturate.
int parseProfileInt(std::string_view text, int fallback);
// True when the first character is Y, y, T, t or 1.
bool parseProfileBool(std::string_view text);

class ProfileFile {
  public:
    ProfileFile() = default;
    explicit ProfileFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    // The whole file as it is now; empty when it cannot be read.
    ProfileDocument load() const;
    // False when the file exists and holds bytes that are no settings text.
    bool readable() const;

    std::string readText(std::string_view section, std::string_view key,
                         std::string_view fallback = {}) const;
    // An empty value reads as the default.
    int readInt(std::string_view section, std::string_view key, int fallback) const;
    // A present key with an empty value is false, as its first character is not a yes.
    bool readBool(std::string_view section, std::string_view key, bool fallback) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    std::vector<std::string> sectionNames() const;
    std::vector<ProfileEntry> readSection(std::string_view section) const;

    Status writeText(std::string_view section, std::string_view key, std::string_view value);
    Status writeInt(std::string_view section, std::string_view key, int value);
    // "Yes" or "No".
    Status writeBool(std::string_view section, std::string_view key, bool value);
    Status deleteKey(std::string_view section, std::string_view key);
    Status writeSection(std::string_view section, const std::vector<ProfileEntry>& entries);
    Status deleteSection(std::string_view section);

    // Several edits saved as one write; nothing is saved when the edit fails. The change
    // runs under this file's locks, so it must not write other profile files itself.
    Status edit(const std::function<Status(ProfileDocument&)>& change);

  private:
    std::string path_;
};

}  // namespace vellix
