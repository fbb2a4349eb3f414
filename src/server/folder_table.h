#pragma once
// The folder table: one status record per mail folder, keyed by the server's folder name,
// shared by the server frame (writer) and the tray, note and window code (readers, through
// copies). Records are never removed; a folder the server stops listing turns stale.

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vellix {

// Order of the six notification rules everywhere they travel as an array.
enum FolderRule : std::size_t { BlinkIcon, PlaySound, ShowNotice, OpenMessage, InMenu, InWindow };
inline constexpr std::size_t kFolderRuleCount = 6;
// Rule values: 0 off, 1 on, 2 use the default (any other number counts as off).
inline constexpr std::int32_t kRuleOff = 0;
inline constexpr std::int32_t kRuleOn = 1;
inline constexpr std::int32_t kRuleUseDefault = 2;
using FolderRules = std::array<std::int32_t, kFolderRuleCount>;

struct FolderStatus {
    std::string name = "----";
    std::string displayName = "----";
    std::int32_t total = 0;
    std::int32_t unread = 0;
    std::int32_t newCount = 0;
    std::int32_t recent = 0;
    std::int32_t order = 0;
    bool stale = false;
    FolderRules rules{kRuleUseDefault, kRuleUseDefault, kRuleUseDefault,
                      kRuleUseDefault, kRuleUseDefault, kRuleUseDefault};
};

// The effective value of one rule: on for 1, or for 2 when the default is on.
inline bool ruleIsOn(std::int32_t value, bool defaultOn) {
    return value == kRuleOn || (value == kRuleUseDefault && defaultOn);
}

// "name (total/unread/new)" with the display name, or the name when that is empty.
std::string folderCountsText(const FolderStatus& folder);

class FolderTable {
  public:
    // Marks every record stale, then copies counts, order and names of each listed folder
    // into its record (created with the defaults when missing) and clears its stale mark.
    // The rules of existing records are kept.
    void merge(const std::vector<FolderStatus>& list);
    // Copies of the records that are not stale, in server order.
    std::vector<FolderStatus> copyFolders() const;
    // Copies of the records whose new count is not 0, in folder-name order.
    std::vector<FolderStatus> copyWithNewMail() const;
    std::optional<FolderStatus> findFolder(const std::string& name) const;
    // Copies the rules of each listed record into the table's record of the same name;
    // names the table lacks are skipped.
    void applyRules(const std::vector<FolderStatus>& list);
    std::size_t size() const;

  private:
    mutable std::mutex mutex_;
    std::map<std::string, FolderStatus> records_;
};

}  // namespace vellix
