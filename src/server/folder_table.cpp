#include "server/folder_table.h"

#include <algorithm>

namespace vellix {

std::string folderCountsText(const FolderStatus& folder) {
    const std::string& name = folder.displayName.empty() ? folder.name : folder.displayName;
    return name + " (" + std::to_string(folder.total) + "/" + std::to_string(folder.unread) + "/" +
           std::to_string(folder.newCount) + ")";
}

void FolderTable::merge(const std::vector<FolderStatus>& list) {
    std::lock_guard lock(mutex_);
    for (auto& [name, record] : records_) record.stale = true;
    for (const FolderStatus& incoming : list) {
        FolderStatus& record = records_[incoming.name];
        record.total = incoming.total;
        record.unread = incoming.unread;
        record.newCount = incoming.newCount;
        record.recent = incoming.recent;
        record.order = incoming.order;
        record.stale = false;
        record.name = incoming.name;
        record.displayName = incoming.displayName;
    }
}

std::vector<FolderStatus> FolderTable::copyFolders() const {
    std::vector<FolderStatus> out;
    {
        std::lock_guard lock(mutex_);
        out.reserve(records_.size());
        for (const auto& [name, record] : records_) {
            if (!record.stale) out.push_back(record);
        }
    }
    std::stable_sort(out.begin(), out.end(), [](const FolderStatus& a, const FolderStatus& b) {
        return a.order < b.order;
    });
    return out;
}

std::vector<FolderStatus> FolderTable::copyWithNewMail() const {
    std::vector<FolderStatus> out;
    std::lock_guard lock(mutex_);
    for (const auto& [name, record] : records_) {
        if (record.newCount != 0) out.push_back(record);  // the map keeps byte-wise name order
    }
    return out;
}

std::optional<FolderStatus> FolderTable::findFolder(const std::string& name) const {
    std::lock_guard lock(mutex_);
    const auto found = records_.find(name);
    if (found == records_.end()) return std::nullopt;
    return found->second;
}

void FolderTable::applyRules(const std::vector<FolderStatus>& list) {
    std::lock_guard lock(mutex_);
    for (const FolderStatus& incoming : list) {
        const auto found = records_.find(incoming.name);
        if (found != records_.end()) found->second.rules = incoming.rules;
    }
}

std::size_t FolderTable::size() const {
    std::lock_guard lock(mutex_);
    return records_.size();
}

}  // namespace vellix
