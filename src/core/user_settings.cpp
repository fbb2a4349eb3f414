#include "core/user_settings.h"

#include "core/atomic_file.h"
#include "core/settings_paths.h"
#include "core/version.h"

namespace vellix {

namespace {

// The first name of the engine's comma-separated list, trimmed; empty when it is not a
// plain file name.
std::string firstLexFileName(const std::string& list) {
    const std::string name(trimBlanks(std::string_view(list).substr(0, list.find(','))));
    if (name == "." || name == ".." || name.find('/') != std::string::npos) return {};
    return name;
}

Status keepFirstError(Status current, Status next) {
    return current ? std::move(next) : std::move(current);
}

}  // namespace

Status AccountSettingsFile::removeFile() {
    const std::string current = path();
    if (current.empty()) return success();
    return vellix::removeFile(current);
}

Result<std::string> receiveAccountSettings(const std::optional<std::string>& text,
                                           const AccountSettingsTarget& target) {
    if (!text) {
        if (target.settings == nullptr) return std::string{};
        auto removed = target.settings->removeFile();
        if (!removed) return failure(removed.error());
        return std::string{};
    }
    auto folder = userFolderPath(target.dataFolder, target.accountName);
    if (!folder) return failure(folder.error());
    const std::string& userFolder = *folder;

    // A folder that cannot be made does not stop the rest: the later writes then fail.
    Status status = createFolders(userFolder);
    const std::string settingsPath = userFolder + std::string(kAccountSettingsFileName);
    if (target.settings != nullptr) target.settings->setPath(settingsPath);

    const std::string lexFolder = userFolder + std::string(kUserLexFolderName);
    status = keepFirstError(std::move(status), createFolders(lexFolder));
    if (target.spelling != nullptr) {
        target.spelling->setUserLexPath(lexFolder);
        const std::string lexFile = firstLexFileName(target.spelling->userLexFiles());
        if (!lexFile.empty() && !fileExists(lexFolder + "/" + lexFile)) {
            status = keepFirstError(std::move(status),
                                    writeFileAtomically(lexFolder + "/" + lexFile, kUserLexSeed));
        }
    }

    status = keepFirstError(std::move(status), writeFileAtomically(settingsPath, *text));
    ProfileFile settings(settingsPath);
    status = keepFirstError(
        std::move(status),
        settings.writeText(account::kVersion.section, account::kVersion.name, kProgramVersion));
    if (!status) return failure(status.error());
    return userFolder;
}

UserSettings readUserSettings(const ProfileFile& file) {
    const ProfileDocument doc = file.load();
    UserSettings settings;
    settings.tipFolder = readKey(doc, account::kTipFolder);
    settings.bkgrndColor = readKey(doc, account::kBkgrndColor);
    settings.textColor = readKey(doc, account::kTextColor);
    settings.defaultBlinkIcon = readKey(doc, account::kDefaultBlinkIcon);
    settings.defaultPlaySound = readKey(doc, account::kDefaultPlaySound);
    settings.defaultShowNotice = readKey(doc, account::kDefaultShowNotice);
    settings.defaultOpenMessage = readKey(doc, account::kDefaultOpenMessage);
    settings.defaultInMenu = readKey(doc, account::kDefaultInMenu);
    settings.defaultInWindow = readKey(doc, account::kDefaultInWindow);
    for (int entry = 0;; ++entry) {
        std::string name =
            doc.find(kSectionVellix, account::entryKeyName(entry, account::kEntryName))
                .value_or("");
        if (name.empty()) break;
        FolderRuleEntry rule{std::move(name), {}};
        for (std::size_t i = 0; i < kFolderRuleNames.size(); ++i) {
            const auto value =
                doc.find(kSectionVellix, account::entryKeyName(entry, kFolderRuleNames[i]));
            rule.rules[i] = value ? parseProfileInt(*value, account::kFolderRuleDefault)
                                  : account::kFolderRuleDefault;
        }
        settings.entries.push_back(std::move(rule));
    }
    settings.interval = account::readPollInterval(doc);
    return settings;
}

}  // namespace vellix
