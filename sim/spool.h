// Uploads kept on disk: one file per upload in a spool folder whose total size is bounded,
// so files of any size pass through the server without being held in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace vellix::sim {

class Spool;

// One spooled upload; the file is removed when the last holder lets go.
class SpoolFile {
  public:
    ~SpoolFile();
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;

    // Appends; false (with the reason) when the disk refuses or the reserved size is passed.
    bool append(std::string_view data, std::string* error);
    uint64_t size() const { return written_; }
    // Reads up to `n` bytes at `offset`; -1 on error.
    long read_at(uint64_t offset, char* out, size_t n) const;

  private:
    friend class Spool;
    SpoolFile(std::shared_ptr<Spool> spool, std::string path, int fd, uint64_t reserved);

    std::shared_ptr<Spool> spool_;
    std::string path_;
    int fd_;
    uint64_t reserved_;
    uint64_t written_ = 0;
};

class Spool : public std::enable_shared_from_this<Spool> {
  public:
    // An empty folder makes a private one under $TMPDIR, removed with the spool.
    static std::shared_ptr<Spool> open(std::string folder, uint64_t limit, std::string* error);
    ~Spool();

    // A new file with room for `size` bytes, or nothing with the reason (the limit would be
    // passed, or the folder refuses).
    std::shared_ptr<SpoolFile> create(uint64_t size, std::string* error);
    uint64_t used() const;
    uint64_t limit() const { return limit_; }
    const std::string& folder() const { return folder_; }

  private:
    friend class SpoolFile;
    Spool(std::string folder, uint64_t limit, bool owned);
    void release(uint64_t size);

    std::string folder_;
    uint64_t limit_;
    bool owned_;
    mutable std::mutex mu_;
    uint64_t used_ = 0;
};

}  // namespace vellix::sim
