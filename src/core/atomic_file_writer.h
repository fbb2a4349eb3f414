#pragma once
// Writes a file so that a crash or power loss leaves either the old or the new version:
// the bytes go to a temporary file in the same folder, which replaces the target only
// when everything was written and flushed. A target that is a symbolic link is followed:
// the file it names is replaced and the link stays (dotfiles kept in a repository).

#include <cstdio>
#include <string>
#include <string_view>

namespace vellix {

// When the folder entry of a replaced file is made durable: at once, or later by the
// caller through syncFolder (one folder sync for many files written in a row).
enum class FolderSync { Now, Later };

class AtomicFileWriter {
  public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();  // discards an uncommitted temporary file

    // False when the temporary file cannot be created (missing folder, no rights).
    bool open(const std::string& path);
    bool write(std::string_view bytes);
    // Flushes, syncs and renames over the target; false leaves the target untouched. With
    // FolderSync::Later the file's bytes are on disk before the rename, but the rename itself
    // is durable only once the caller syncs the folder.
    bool commit(FolderSync folderSync = FolderSync::Now);

  private:
    void discard();
    // Where the bytes really go: the end of a chain of links, else the path itself.
    static std::string resolveLinks(const std::string& path);

    std::string path_;
    std::string tempPath_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// Makes the entries of `folder` (files created, renamed or removed) durable.
bool syncFolder(const std::string& folder);

// A kill during a write leaves "<name>.XXXXXX" beside the file. Removes such leftovers of
// state files ("<stem>.<ext>.XXXXXX", regular files) from `folder`; returns how many went.
int removeStaleTempFiles(const std::string& folder);

}  // namespace vellix
