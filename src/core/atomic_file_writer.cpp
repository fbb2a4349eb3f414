#include "core/atomic_file_writer.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace vellix {

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

namespace {

constexpr std::size_t kTempSuffix = 7;  // ".XXXXXX"
constexpr int kMaxLinkHops = 40;        // the kernel's own limit

bool isTempSuffixChar(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
}

}  // namespace

std::string AtomicFileWriter::resolveLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::vector<char> target(4096);
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return current;
        std::string next(target.data(), static_cast<std::size_t>(n));
        if (next.front() != '/') {
            const auto slash = current.rfind('/');
            if (slash != std::string::npos) next = current.substr(0, slash + 1) + next;
        }
        current = std::move(next);
    }
    return current;
}

bool AtomicFileWriter::open(const std::string& path) {
    discard();
    if (path.empty()) return false;
    path_ = resolveLinks(path);
    std::vector<char> name(path_.begin(), path_.end());
    for (char c : std::string_view(".XXXXXX")) name.push_back(c);
    name.push_back('\0');
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return false;
    tempPath_.assign(name.data());
    // Keep the permissions of a file being replaced; new files stay private (0600).
    struct stat old {};
    if (::stat(path_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
        return false;
    }
    failed_ = false;
    return true;
}

bool AtomicFileWriter::write(std::string_view bytes) {
    if (!file_ || failed_) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        failed_ = true;
    }
    return !failed_;
}

bool AtomicFileWriter::commit(FolderSync folderSync) {
    if (!file_) return false;
    bool ok = !failed_ && std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (ok) ok = std::rename(tempPath_.c_str(), path_.c_str()) == 0;
    if (!ok) ::unlink(tempPath_.c_str());
    tempPath_.clear();
    if (ok && folderSync == FolderSync::Now) {
        // Make the rename itself durable.
        const auto slash = path_.rfind('/');
        (void)syncFolder(slash == std::string::npos ? "." : path_.substr(0, slash + 1));
    }
    return ok;
}

bool syncFolder(const std::string& folder) {
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return false;
    const bool ok = ::fsync(folderFd) == 0;
    ::close(folderFd);
    return ok;
}

void AtomicFileWriter::discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}

int removeStaleTempFiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    int removed = 0;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= kTempSuffix || name[name.size() - kTempSuffix] != '.') continue;
        const std::string_view suffix =
            std::string_view(name).substr(name.size() - kTempSuffix + 1);
        const std::string_view base = std::string_view(name).substr(0, name.size() - kTempSuffix);
        // "<stem>.<ext>": a state file's name, not a user's "photo.abcdef".
        const auto dot = base.rfind('.');
        if (dot == std::string_view::npos || dot == 0 || dot + 1 == base.size()) continue;
        if (!std::all_of(suffix.begin(), suffix.end(), isTempSuffixChar)) continue;
        if (!entry.is_symlink(error) && entry.is_regular_file(error) &&
            ::unlink(entry.path().c_str()) == 0) {
            ++removed;
        }
    }
    return removed;
}

}  // namespace vellix
