#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "core/atomic_file_writer.h"

namespace vellix {

namespace {

std::string describe(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

Result<std::optional<std::string>> readFileBytes(const std::string& path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::optional<std::string>{};
        return failure(describe("cannot open", path, errno));
    }
    std::string bytes;
    std::vector<char> chunk(64 * 1024);
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            return failure(describe("cannot read", path, error));
        }
        if (got == 0) break;
        if (bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
            ::close(fd);
            return failure("file too large: " + path);
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(got));
    }
    ::close(fd);
    return std::optional<std::string>{std::move(bytes)};
}

Status writeFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.empty()) return failure("no file path");
    AtomicFileWriter writer;
    if (!writer.open(path))
        return failure(describe("cannot create a file in", folderOf(path), errno));
    if (!writer.write(bytes)) return failure(describe("cannot write", path, errno));
    if (!writer.commit()) return failure(describe("cannot replace", path, errno));
    return success();
}

Status removeFile(const std::string& path) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return success();
    return failure(describe("cannot remove", path, errno));
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

}  // namespace vellix
