#include "spool.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vellix::sim {

SpoolFile::SpoolFile(std::shared_ptr<Spool> spool, std::string path, int fd, uint64_t reserved)
    : spool_(std::move(spool)), path_(std::move(path)), fd_(fd), reserved_(reserved) {
}

SpoolFile::~SpoolFile() {
    ::close(fd_);
    ::unlink(path_.c_str());
    spool_->release(reserved_);
}

bool SpoolFile::append(std::string_view data, std::string* error) {
    if (data.size() > reserved_ - written_) {
        *error = "upload longer than announced";
        return false;
    }
    while (!data.empty()) {
        const ssize_t n = ::write(fd_, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            *error =
                std::string("could not store the upload: ") + std::strerror(n < 0 ? errno : ENOSPC);
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
        written_ += static_cast<uint64_t>(n);
    }
    return true;
}

long SpoolFile::read_at(uint64_t offset, char* out, size_t n) const {
    ssize_t got = 0;
    do {
        got = ::pread(fd_, out, n, static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}

std::shared_ptr<Spool> Spool::open(std::string folder, uint64_t limit, std::string* error) {
    bool owned = false;
    if (folder.empty()) {
        const char* tmp = std::getenv("TMPDIR");  // NOLINT(concurrency-mt-unsafe): at start
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/skyloom-spool-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (!::mkdtemp(buffer.data())) {
            *error = "cannot make a spool folder: " + std::string(std::strerror(errno));
            return nullptr;
        }
        folder = buffer.data();
        owned = true;
    } else {
        struct stat info {};
        if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            *error = "spool folder " + folder + " is not a folder";
            return nullptr;
        }
    }
    return std::shared_ptr<Spool>(new Spool(std::move(folder), limit, owned));
}

Spool::Spool(std::string folder, uint64_t limit, bool owned)
    : folder_(std::move(folder)), limit_(limit), owned_(owned) {
}

Spool::~Spool() {
    if (owned_) ::rmdir(folder_.c_str());
}

std::shared_ptr<SpoolFile> Spool::create(uint64_t size, std::string* error) {
    {
        std::lock_guard lock(mu_);
        if (size > limit_ - used_) {
            *error = "upload space full: " + std::to_string(size) + " bytes asked, " +
                     std::to_string(limit_ - used_) + " of " + std::to_string(limit_) + " free";
            return nullptr;
        }
        used_ += size;
    }
    std::string pattern = folder_ + "/upload-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = "cannot create a spool file: " + std::string(std::strerror(errno));
        release(size);
        return nullptr;
    }
    return std::shared_ptr<SpoolFile>(new SpoolFile(shared_from_this(), buffer.data(), fd, size));
}

uint64_t Spool::used() const {
    std::lock_guard lock(mu_);
    return used_;
}

void Spool::release(uint64_t size) {
    std::lock_guard lock(mu_);
    used_ -= size;
}

}  // namespace vellix::sim
