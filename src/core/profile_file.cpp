#include "core/profile_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

#include "core/atomic_file.h"

namespace vellix {

namespace {

// One mutex per canonical path for the life of the process; the map only grows, by the
// handful of settings files a session touches.
std::mutex& lockForPath(const std::string& path) {
    static std::mutex tableMutex;
    static std::map<std::string, std::unique_ptr<std::mutex>> table;
    std::error_code error;
    std::string key = std::filesystem::weakly_canonical(path, error).string();
    if (error || key.empty()) key = path;
    std::lock_guard guard(tableMutex);
    auto& slot = table[key];
    if (!slot) slot = std::make_unique<std::mutex>();
    return *slot;
}

// flock() on the folder keeps other processes out for the duration of one write.
class FolderLock {
  public:
    explicit FolderLock(const std::string& path) {
        const auto slash = path.rfind('/');
        const std::string folder =
            slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
        fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ >= 0) {
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~FolderLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int fd_ = -1;
};

}  // namespace

int parseProfileInt(std::string_view text, int fallback) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long value = 0;
    bool digits = false;
    for (char ch : text) {
        if (ch < '0' || ch > '9') break;
        digits = true;
        if (value <= INT_MAX) value = value * 10 + (ch - '0');
    }
    if (!digits) return fallback;
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

bool parseProfileBool(std::string_view text) {
    if (text.empty()) return false;
    switch (text.front()) {
        case 'Y':
        case 'y':
        case 'T':
        case 't':
        case '1':
            return true;
        default:
            return false;
    }
}

ProfileDocument ProfileFile::load() const {
    if (path_.empty()) return {};
    auto bytes = readFileBytes(path_);
    if (!bytes || !bytes->has_value()) return {};
    return ProfileDocument::parse(**bytes);
}

bool ProfileFile::readable() const {
    if (path_.empty()) return true;
    auto bytes = readFileBytes(path_);
    return !bytes || !bytes->has_value() || ProfileDocument::isText(**bytes);
}

std::string ProfileFile::readText(std::string_view section, std::string_view key,
                                  std::string_view fallback) const {
    auto value = load().find(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

int ProfileFile::readInt(std::string_view section, std::string_view key, int fallback) const {
    const auto value = load().find(section, key);
    return value ? parseProfileInt(*value, fallback) : fallback;
}

bool ProfileFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
    const auto value = load().find(section, key);
    return value ? parseProfileBool(*value) : fallback;
}

bool ProfileFile::hasKey(std::string_view section, std::string_view key) const {
    return load().find(section, key).has_value();
}

std::vector<std::string> ProfileFile::sectionNames() const {
    return load().sectionNames();
}

std::vector<ProfileEntry> ProfileFile::readSection(std::string_view section) const {
    return load().section(section);
}

Status ProfileFile::edit(const std::function<Status(ProfileDocument&)>& change) {
    if (path_.empty()) return failure("no settings file");
    std::lock_guard guard(lockForPath(path_));
    FolderLock folderLock(path_);
    auto bytes = readFileBytes(path_);
    if (!bytes) return failure(bytes.error());
    const std::string before = bytes->value_or(std::string{});
    if (!ProfileDocument::isText(before))
        return failure("not a settings file, kept as it is: " + path_);
    ProfileDocument doc = ProfileDocument::parse(before);
    if (auto status = change(doc); !status) return status;
    std::string after = doc.serialize();
    // Nothing changed (or a delete on a missing file): leave the disk alone.
    if (after == before && (bytes->has_value() || after.empty())) return success();
    return writeFileAtomically(path_, after);
}

Status ProfileFile::writeText(std::string_view section, std::string_view key,
                              std::string_view value) {
    return edit([&](ProfileDocument& doc) { return doc.set(section, key, value); });
}

Status ProfileFile::writeInt(std::string_view section, std::string_view key, int value) {
    return writeText(section, key, std::to_string(value));
}

Status ProfileFile::writeBool(std::string_view section, std::string_view key, bool value) {
    return writeText(section, key, value ? "Yes" : "No");
}

Status ProfileFile::deleteKey(std::string_view section, std::string_view key) {
    return edit([&](ProfileDocument& doc) {
        doc.removeKey(section, key);
        return success();
    });
}

Status ProfileFile::writeSection(std::string_view section,
                                 const std::vector<ProfileEntry>& entries) {
    return edit([&](ProfileDocument& doc) { return doc.replaceSection(section, entries); });
}

Status ProfileFile::deleteSection(std::string_view section) {
    return edit([&](ProfileDocument& doc) {
        doc.removeSection(section);
        return success();
    });
}

}  // namespace vellix
