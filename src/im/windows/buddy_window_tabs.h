#pragma once
// The two tabs of the buddy window: the buddies grouped by presence and the mail folders
// with their counts. Each keeps copies of the records behind its items; a double-click (or
// Enter) on an item with a record reports it. On the GUI thread.

#include <QWidget>

#include <vector>

#include "im/buddy_window_view.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace vellix {

class StringTable;

class CProperty_VX_Buddies final : public QWidget {
    Q_OBJECT
  public:
    CProperty_VX_Buddies(const StringTable& strings, BuddyWindowActions& actions,
                         QWidget* parent = nullptr);
    void show(const BuddyGroups& groups);
    QTreeWidget* tree() const { return tree_; }

  private:
    void fillGroup(QTreeWidgetItem* group, const std::vector<BuddyItem>& items);

    BuddyWindowActions& actions_;
    QTreeWidget* tree_;
    QTreeWidgetItem* online_;
    QTreeWidgetItem* offline_;
    std::vector<BuddyRecord> records_;  // item data holds the index
};

class CProperty_VX_Folders final : public QWidget {
    Q_OBJECT
  public:
    CProperty_VX_Folders(const StringTable& strings, BuddyWindowActions& actions,
                         QWidget* parent = nullptr);
    void show(const std::vector<FolderItem>& folders);
    QTreeWidget* tree() const { return tree_; }

  private:
    BuddyWindowActions& actions_;
    QTreeWidget* tree_;
    QTreeWidgetItem* root_;
    std::vector<FolderStatus> records_;
};

}  // namespace vellix
