#include "tray/notification_rules.h"

#include <string>
#include <vector>

#include "core/messages.h"

namespace vellix {
namespace {

constexpr std::array<const BoolKey*, kFolderRuleCount> kDefaultKeys = {
    &account::kDefaultBlinkIcon,   &account::kDefaultPlaySound, &account::kDefaultShowNotice,
    &account::kDefaultOpenMessage, &account::kDefaultInMenu,    &account::kDefaultInWindow};

}  // namespace

void loadRules(const UserSettings& settings, NotificationState& state, FolderTable& table) {
    const std::array<bool, kFolderRuleCount> defaults = {
        settings.defaultBlinkIcon,   settings.defaultPlaySound, settings.defaultShowNotice,
        settings.defaultOpenMessage, settings.defaultInMenu,    settings.defaultInWindow};
    for (std::size_t i = 0; i < kFolderRuleCount; ++i) state.defaults[i] = defaults[i];

    std::vector<FolderStatus> list;
    list.reserve(settings.entries.size());
    for (const FolderRuleEntry& entry : settings.entries) {
        FolderStatus record;
        record.name = entry.name;
        // Until the server reports the folder, its name is the best label there is.
        record.displayName = entry.name;
        record.order = static_cast<std::int32_t>(list.size());
        for (std::size_t i = 0; i < kFolderRuleCount; ++i) record.rules[i] = entry.rules[i];
        list.push_back(std::move(record));
    }
    table.merge(list);
    table.applyRules(list);
}

void loadRules(const ProfileFile& file, NotificationState& state, FolderTable& table) {
    loadRules(readUserSettings(file), state, table);
}

Status saveRules(ProfileFile& file, std::string_view tipFolder, const NotificationState& state,
                 const FolderTable& table) {
    const std::vector<FolderStatus> folders = table.copyFolders();
    return file.edit([&](ProfileDocument& doc) -> Status {
        auto set = [&](std::string_view key, std::string_view value) {
            return doc.set(kSectionVellix, key, value);
        };
        if (auto s = set(account::kTipFolder.name, tipFolder); !s) return s;
        for (std::size_t i = 0; i < kFolderRuleCount; ++i) {
            if (auto s = set(kDefaultKeys[i]->name, state.defaults[i] ? "Yes" : "No"); !s) {
                return s;
            }
        }
        int entry = 0;
        for (const FolderStatus& folder : folders) {
            if (auto s = set(account::entryKeyName(entry, account::kEntryName), folder.name); !s) {
                return s;
            }
            for (std::size_t i = 0; i < kFolderRuleCount; ++i) {
                const std::string value = std::to_string(folder.rules[i]);
                if (auto s = set(account::entryKeyName(entry, kFolderRuleNames[i]), value); !s) {
                    return s;
                }
            }
            ++entry;
        }
        return set(account::entryKeyName(entry, account::kEntryName), "");
    });
}

}  // namespace vellix
