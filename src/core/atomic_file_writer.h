#pragma once
// Writes a file so that a crash or power loss leaves either the old or the new version:
// the bytes go to a temporary file in the same folder, which replaces the target only
// when everything was written and flushed.

#include <cstdio>
#include <string>
#include <string_view>

namespace vellix {

class AtomicFileWriter {
  public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();  // discards an uncommitted temporary file

    // False when the temporary file cannot be created (missing folder, no rights).
    bool open(const std::string& path);
    bool write(std::string_view bytes);
    // Flushes, syncs and renames over the target; false leaves the target untouched.
    bool commit();

  private:
    void discard();

    std::string path_;
    std::string tempPath_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

}  // namespace vellix
