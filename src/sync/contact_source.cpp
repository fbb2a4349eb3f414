#include "sync/contact_source.h"

namespace vellix {

ContactSource::~ContactSource() = default;

bool ContactSource::HasFolder(std::string) {
    return true;
}

bool ContactSource::ListFolders(std::vector<std::string>&) {
    return false;
}

Status LocalContactSource::finishPass() {
    return success();
}

}  // namespace vellix
