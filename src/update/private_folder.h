#pragma once
// A folder only this user can enter (mode 0700, a fresh random name), for a download that
// will be executed: nobody else can swap the file between the check and the start.

#include <string>

#include "core/result.h"

namespace vellix {

class PrivateFolder {
  public:
    // Under $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp.
    static Result<PrivateFolder> create(const std::string& prefix);
    PrivateFolder(PrivateFolder&& other) noexcept;
    PrivateFolder& operator=(PrivateFolder&&) = delete;
    ~PrivateFolder();  // removes the folder and the files made in it

    // "<folder>/<name>"; files made through here are removed with the folder.
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    explicit PrivateFolder(std::string path) : path_(std::move(path)) {}
    std::string path_;
};

// Creates a new file (never an existing one or through a link) with mode 0700 for writing;
// the descriptor, or why not.
Result<int> createExecutableFile(const std::string& path);

}  // namespace vellix
