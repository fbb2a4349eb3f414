#pragma once
// A folder as a counts reply lists it, shown under its own name.

#include <string>

#include "server/folder_table.h"

namespace vellix::test {

inline FolderStatus folder(std::string name, int total = 0, int unread = 0, int fresh = 0) {
    FolderStatus f;
    f.name = f.displayName = std::move(name);
    f.total = total;
    f.unread = unread;
    f.newCount = fresh;
    return f;
}

}  // namespace vellix::test
