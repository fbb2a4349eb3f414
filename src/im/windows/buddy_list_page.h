#pragma once
// The buddy-list page: the server's users on the left, the user's buddies on the right,
// moved across with Add and Remove or typed in by hand. Apply sends the edited list to the
// server frame (which uploads it and reloads the buddy table) without waiting for it. On the
// GUI thread; it reads the shared tables only through their copies.

#include <QDialog>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/frame_registry.h"
#include "core/guarded.h"
#include "core/session_state.h"
#include "server/buddy_table.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

namespace vellix {

class StringTable;

struct BuddyListPageDeps {
    const StringTable& strings;
    FrameRegistry& frames;
    const BuddyTable& buddies;
    const UserList& users;
    const Guarded<SessionState>& session;
    std::string iniPath;  // Vellix.ini, for "ShowBuddyList"
    // Asks a yes/no question; true for Yes.
    std::function<bool(const std::string& question)> confirm;
};

class Property_AddContactPage final : public QWidget {
    Q_OBJECT
  public:
    explicit Property_AddContactPage(BuddyListPageDeps deps, QWidget* parent = nullptr);

    // Stores "ShowBuddyList" and, when the list was edited, hands its form text to the
    // server frame.
    void apply();
    bool changed() const { return changed_; }
    // The user list asked for on opening has arrived.
    void userListArrived();

    const std::vector<UserRecord>& entries() const { return buddies_; }
    QTreeWidget* usersList() const { return left_; }
    QTreeWidget* buddiesList() const { return right_; }
    QCheckBox* showAllBox() const { return showAll_; }

    void addSelected();
    void removeSelected();
    void addManually();

  Q_SIGNALS:
    void modified();

  private:
    void refill();
    void markChanged();

    BuddyListPageDeps deps_;
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

// The page on its own, with OK, Cancel and Apply, until it has a place in the options window.
class BuddyListDialog final : public QDialog {
    Q_OBJECT
  public:
    BuddyListDialog(BuddyListPageDeps deps, QWidget* parent = nullptr);
    Property_AddContactPage* page() const { return page_; }

  private:
    Property_AddContactPage* page_;
};

}  // namespace vellix
