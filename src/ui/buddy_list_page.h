#pragma once
// The Buddy List page of the options window: the server's users on the left, the user's
// buddies on the right, moved across with Add and Remove or typed in by hand. OK and Apply
// send the edited list to the server frame (which uploads it and reloads the buddy table)
// without waiting for it. GUI thread only; it reads the shared tables through their copies.

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "server/buddy_table.h"
#include "ui/options_context.h"
#include "ui/options_page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

namespace vellix {

class Property_AddContactPage final : public OptionsPage {
    Q_OBJECT
  public:
    explicit Property_AddContactPage(OptionsContext& context, QWidget* parent = nullptr);

    // Stores "ShowBuddyList" and, when the list was edited, hands its form text to the
    // server frame.
    bool applyPage() override;
    // UM_USER_LIST_READY: the user list asked for on opening has arrived.
    void frameMessage(const PageMessage& message) override;

    // The question before removing; a message box unless replaced.
    void setConfirm(std::function<bool(const std::string&)> confirm);

    const std::vector<UserRecord>& entries() const { return buddies_; }
    QTreeWidget* usersList() const { return left_; }
    QTreeWidget* buddiesList() const { return right_; }
    QCheckBox* showAllBox() const { return showAll_; }

    void addSelected();
    void removeSelected();
    void addManually();

  private:
    void refill();
    void markChanged();
    std::vector<UserRecord> users() const;

    OptionsContext& context_;
    std::function<bool(const std::string&)> confirm_;
    std::vector<UserRecord> buddies_;
    std::vector<UserRecord> choices_;
    QTreeWidget* left_;
    QTreeWidget* right_;
    QCheckBox* showAll_;
    bool changed_ = false;
};

// Dialog 345: a full name and an e-mail address, checked before OK closes it.
class ManualBuddyDialog final : public QDialog {
    Q_OBJECT
  public:
    ManualBuddyDialog(const StringTable& strings, std::function<bool(const UserRecord&)> accept,
                      QWidget* parent = nullptr);
    UserRecord entry() const;
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* addressEdit() const { return address_; }
    QLabel* problemLabel() const { return problem_; }

    void done(int result) override;

  private:
    const StringTable& strings_;
    std::function<bool(const UserRecord&)> accept_;
    QLineEdit* name_;
    QLineEdit* address_;
    QLabel* problem_;
};

// Slot BuddyList, shown while logged in with messaging, opened by "Buddy List".
OptionsPageEntry buddyListPageEntry();

}  // namespace vellix
