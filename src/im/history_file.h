#pragma once
// One conversation's history file: opened for appending when the conversation gets its
// title, one entry at a time, the session-end line when it closes. A file that cannot be
// opened leaves the conversation unlogged; the screen is unaffected. One thread only.

#include <cstdio>
#include <memory>
#include <string>

namespace vellix {

class HistoryFile {
  public:
    // Creates the folder (every missing level) and opens folder + historyFileName(title).
    bool open(const std::string& folder, const std::string& title);
    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }
    void append(const std::string& lines);
    // Writes the session end and closes; nothing when not open.
    void close();

  private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::string path_;
};

}  // namespace vellix
