#include "core/installer_handover.h"

#include <array>
#include <string_view>

#include "core/atomic_file.h"
#include "core/settings_keys.h"

namespace vellix {

namespace {

constexpr std::string_view kExtensionPrefix = "X-";
constexpr std::array<std::string_view, 4> kSyncStateFiles = {"private.ini", "public.ini",
                                                             "ldpublic.ini", "ldprivate.ini"};

}  // namespace

Status copyHandOverToIni(const std::string& handOverPath, ProfileFile& ini) {
    if (!fileExists(handOverPath)) return success();
    const auto entries = ProfileFile(handOverPath).readSection(kSectionVellix);
    return ini.edit([&entries](ProfileDocument& doc) -> Status {
        for (const auto& entry : entries) {
            if (startsWithIgnoreCase(entry.key, kExtensionPrefix)) continue;
            if (auto status = doc.set(kSectionVellix, entry.key, entry.value); !status) {
                return status;
            }
        }
        return success();
    });
}

Status applyHandOverToAccount(const std::string& handOverPath, ProfileFile& accountSettings,
                              const std::string& userFolder) {
    if (!fileExists(handOverPath)) return success();
    const ProfileDocument handOver = ProfileFile(handOverPath).load();
    const Status written = accountSettings.edit([&handOver](ProfileDocument& doc) -> Status {
        for (const auto& section : handOver.sectionNames()) {
            const bool ldap = equalsIgnoreCase(section, kSectionLdap);
            for (const auto& entry : handOver.section(section)) {
                if (startsWithIgnoreCase(entry.key, kExtensionPrefix)) {
                    const std::string name = entry.key.substr(entry.key.find('-') + 1);
                    if (trimBlanks(name).empty()) continue;
                    if (!doc.find(section, name).value_or("").empty()) continue;
                    const std::string value = handOver.find(section, name).value_or(entry.value);
                    if (auto status = doc.set(section, name, value); !status) return status;
                } else if (ldap) {
                    if (auto status = doc.set(section, entry.key, entry.value); !status) {
                        return status;
                    }
                }
            }
        }
        return success();
    });
    if (!written) return written;

    Status status = removeFile(handOverPath);
    for (const auto name : kSyncStateFiles) {
        Status removed = removeFile(userFolder + std::string(name));
        if (status) status = std::move(removed);
    }
    return status;
}

}  // namespace vellix
