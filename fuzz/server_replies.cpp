// Every reply reader of the server frame over any bytes: nothing breaks, values keep the
// sizes of their buffers, and counts are numbers or the malformed -1.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "server/server_replies.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);

    const vellix::VersionReply version = vellix::readVersionReply(reply);
    check(version.newestVersion.size() < 100 &&
          version.newestVersion.find(' ') == std::string::npos);
    (void)vellix::updateAvailable(version, "9.0.0");

    const vellix::LoginReply login = vellix::readLoginReply(reply);
    check(login.session.size() < 36 && login.email.size() < 256 && login.name.size() < 256);

    const vellix::CountsReply counts = vellix::readCountsReply(reply);
    bool newMail = false;
    for (const auto& folder : counts.folders) {
        check(!folder.name.empty() && folder.name.size() < 100 && folder.displayName.size() < 60);
        check(folder.total >= -1 && folder.unread >= -1 && folder.newCount >= -1);
        newMail = newMail || folder.newCount > 0;
    }
    check(newMail == counts.newMail);
    for (const auto& alert : counts.alerts) check(!alert.empty() && alert.size() < 1024);

    for (const auto& buddy :
         vellix::readBuddyList(reply, [](std::string_view w) { return std::string(w); })) {
        check(buddy.email.size() < 100 && buddy.status.size() < 24);
    }
    (void)vellix::readUserList(reply);
    if (const auto settings = vellix::readImSettings(reply)) check(settings->size() <= size);
    return 0;
}
