#include "im/history_file.h"

#include <filesystem>
#include <system_error>

#include "im/conversation_text.h"

namespace vellix {

bool HistoryFile::open(const std::string& folder, const std::string& title) {
    close();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    path_ = folder + historyFileName(title);
    // "e": the file must not leak into the programs the user opens from Vellix.
    file_.reset(std::fopen(path_.c_str(), "abe"));
    return isOpen();
}

void HistoryFile::append(const std::string& lines) {
    if (!file_ || lines.empty()) return;
    std::fwrite(lines.data(), 1, lines.size(), file_.get());
    // Each entry reaches the disk's cache at once: a crash loses at most the entry under way.
    std::fflush(file_.get());
}

void HistoryFile::close() {
    if (!file_) return;
    append(std::string(kHistorySessionEnd));
    file_.reset();
}

}  // namespace vellix
