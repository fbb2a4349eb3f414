#include "update/private_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace vellix {
namespace {

std::string baseFolder() {
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(name);
        std::error_code error;
        if (value && *value && std::filesystem::is_directory(value, error)) return value;
    }
    return "/tmp";
}

}  // namespace

Result<PrivateFolder> PrivateFolder::create(const std::string& prefix) {
    std::string pattern = baseFolder() + "/" + prefix + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    // mkdtemp makes the folder with mode 0700.
    if (!::mkdtemp(buffer.data())) {
        return failure("cannot create a folder in " + baseFolder() + ": " + std::strerror(errno));
    }
    return PrivateFolder(std::string(buffer.data()));
}

PrivateFolder::PrivateFolder(PrivateFolder&& other) noexcept : path_(std::move(other.path_)) {
    other.path_.clear();
}

PrivateFolder::~PrivateFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

Result<int> createExecutableFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0700);
    if (fd < 0) return failure("cannot create " + path + ": " + std::strerror(errno));
    // The mode asked for passes through the umask; the owner's bits must stay.
    if (::fchmod(fd, 0700) != 0) {
        const std::string reason = std::strerror(errno);
        ::close(fd);
        return failure("cannot set the mode of " + path + ": " + reason);
    }
    return fd;
}

}  // namespace vellix
