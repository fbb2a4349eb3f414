#pragma once
// Property_NotificationsPage: the six notification rules of each folder and their
// defaults. Changes to "[Defaults]" take effect as soon as another line is selected;
// folder rules go to the folder table and settings.tmp when the page is left.

#include <vector>

#include "server/folder_table.h"
#include "ui/options_context.h"
#include "ui/options_page.h"

class QListWidget;
class QTreeWidget;

namespace vellix {

class Property_NotificationsPage final : public OptionsPage {
    Q_OBJECT
  public:
    explicit Property_NotificationsPage(OptionsContext& context, QWidget* parent = nullptr);

    void pageShown() override;
    bool pageLeaving() override;
    bool applyPage() override;

  private:
    void rebuild();
    void showLine(int line);
    void storeLine(int line);
    void resetAll();

    OptionsContext& context_;
    QTreeWidget* folders_;
    QListWidget* rules_;
    std::vector<FolderStatus> copies_;  // line i + 1
    int selected_ = -1;
    bool changed_ = false;
};

OptionsPageEntry notificationsPageEntry();

}  // namespace vellix
