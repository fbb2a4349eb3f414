#include "im/windows/buddy_window_tabs.h"

#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/string_table.h"
#include "im/windows/tree_pictures.h"

namespace vellix {
namespace {

constexpr int kRecordRole = Qt::UserRole;
constexpr int kNoRecord = -1;

QTreeWidget* makeTree(QWidget* owner) {
    auto* tree = new QTreeWidget(owner);
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(true);
    tree->setUniformRowHeights(true);
    tree->setExpandsOnDoubleClick(true);
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree);
    return tree;
}

QTreeWidgetItem* makeNode(QTreeWidget* tree, const std::string& text) {
    auto* node = new QTreeWidgetItem(tree, {QString::fromStdString(text)});
    node->setData(0, kRecordRole, kNoRecord);
    QFont bold = node->font(0);
    bold.setBold(true);
    node->setFont(0, bold);
    return node;
}

QTreeWidgetItem* makeItem(QTreeWidgetItem* parent, const std::string& text, TreePicture picture,
                          int record) {
    auto* item = new QTreeWidgetItem(parent, {QString::fromStdString(text)});
    item->setIcon(0, treePicture(picture));
    item->setData(0, kRecordRole, record);
    return item;
}

// The record index behind an item; kNoRecord for nodes and placeholders.
int recordOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kRecordRole).toInt() : kNoRecord;
}

}  // namespace

CProperty_VX_Buddies::CProperty_VX_Buddies(const StringTable& strings, BuddyWindowActions& actions,
                                           QWidget* parent)
    : QWidget(parent), actions_(actions), tree_(makeTree(this)) {
    online_ = makeNode(tree_, strings.text(IDS_STATUS_ONLINE));
    offline_ = makeNode(tree_, strings.text(IDS_STATUS_OFFLINE));
    connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
        const int record = recordOf(item);
        if (record >= 0 && static_cast<std::size_t>(record) < records_.size()) {
            actions_.openConversation(records_[static_cast<std::size_t>(record)]);
        }
    });
}

void CProperty_VX_Buddies::show(const BuddyGroups& groups) {
    for (auto* group : {online_, offline_}) qDeleteAll(group->takeChildren());
    records_.clear();
    fillGroup(online_, groups.online);
    fillGroup(offline_, groups.offline);
    if (groups.openOnline) online_->setExpanded(true);
}

void CProperty_VX_Buddies::fillGroup(QTreeWidgetItem* group, const std::vector<BuddyItem>& items) {
    for (const auto& item : items) {
        int record = kNoRecord;
        if (item.buddy) {
            record = static_cast<int>(records_.size());
            records_.push_back(*item.buddy);
        }
        makeItem(group, item.text, item.picture, record);
    }
}

CProperty_VX_Folders::CProperty_VX_Folders(const StringTable& strings, BuddyWindowActions& actions,
                                           QWidget* parent)
    : QWidget(parent), actions_(actions), tree_(makeTree(this)) {
    root_ = makeNode(tree_, strings.text(IDS_FOLDERS_TAB));
    root_->setExpanded(true);
    connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
        const int record = recordOf(item);
        if (record >= 0 && static_cast<std::size_t>(record) < records_.size()) {
            actions_.openFolder(records_[static_cast<std::size_t>(record)]);
        }
    });
}

void CProperty_VX_Folders::show(const std::vector<FolderItem>& folders) {
    qDeleteAll(root_->takeChildren());
    records_.clear();
    for (const auto& folder : folders) {
        makeItem(root_, folder.text, folder.picture, static_cast<int>(records_.size()));
        records_.push_back(folder.folder);
    }
    root_->setExpanded(true);
}

}  // namespace vellix
