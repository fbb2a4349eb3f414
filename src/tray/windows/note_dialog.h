#pragma once
// The new-mail note (dialog 144): the folders with new mail, a "do not open again until
// more mail arrives" box and Close. Topmost; opening a folder or closing ends it.

#include <QDialog>

#include <string>
#include <vector>

#include "core/string_table.h"
#include "server/folder_table.h"

class QCheckBox;
class QListWidget;

namespace vellix {

class NoteDialog final : public QDialog {
    Q_OBJECT
  public:
    NoteDialog(const StringTable& strings, const std::vector<FolderStatus>& folders,
               bool dontReopen, QWidget* parent = nullptr);

    // The folder name behind a list line; empty when there is none.
    std::string folderAt(int row) const;

  Q_SIGNALS:
    // A line was double-clicked: open that folder's first unread message.
    void folderChosen(const std::string& name);
    // Closed by the user, with the box's state.
    void closedWithBox(bool dontReopen);

  public Q_SLOTS:
    void done(int result) override;

  private:
    void chooseRow(int row);

    std::vector<std::string> names_;
    QListWidget* list_ = nullptr;
    QCheckBox* dontReopen_ = nullptr;
    bool chosen_ = false;
};

}  // namespace vellix
