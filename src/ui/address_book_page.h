#pragma once
// The Address Book page of the options window: whether and how often the server's contacts
// are synchronized, with which local store and into which of its folders; "Synchronize
// now", cancel, and the progress of a run (UM_SYNC_STATUS, UM_SYNC_FINISHED through the
// options frame). GUI thread only; the run itself is the address-book frame's.

#include <memory>
#include <string>
#include <vector>

#include "sync/contacts_settings.h"
#include "ui/options_context.h"
#include "ui/options_page.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QWidget;

namespace vellix {

class Property_AddressBookPage final : public OptionsPage {
    Q_OBJECT
  public:
    explicit Property_AddressBookPage(OptionsContext& context, QWidget* parent = nullptr);

    void pageShown() override;
    bool applyPage() override;
    void frameMessage(const PageMessage& message) override;

    // Asks first (a message box unless replaced), then applies and starts a run.
    void synchronizeNow();
    void cancelRun();
    void setConfirm(std::function<bool(const std::string&)> confirm);

    QCheckBox* enableBox() const { return enable_; }
    QComboBox* storeList() const { return store_; }
    QLineEdit* vcardRootEdit() const { return root_; }
    QCheckBox* publicBox() const { return publicOn_; }
    QCheckBox* privateBox() const { return privateOn_; }
    QComboBox* publicList() const { return public_; }
    QComboBox* privateList() const { return private_; }
    QLabel* folderProblem() const { return problem_; }
    QLabel* progressText() const { return progress_; }
    bool showsRunning() const;

  private:
    std::string userFolder() const;
    ContactsSettings form() const;
    void load();
    void fillFolders();
    void showConfiguredFolders();
    void enableToggled(bool on);
    void showRunning(bool running);
    void updateEnabled();
    void dropHistories(bool publicPair, bool privatePair);

    OptionsContext& context_;
    std::function<bool(const std::string&)> confirm_;
    ContactsSettings loaded_;
    std::string filledRoot_;  // the vCard root the folder lists came from
    bool filling_ = false;
    bool running_ = false;
    QCheckBox* enable_;
    QSpinBox* interval_;
    QComboBox* store_;
    QFormLayout* fields_;
    QWidget* rootRow_;
    QLineEdit* root_;
    QCheckBox* publicOn_;
    QCheckBox* privateOn_;
    QComboBox* public_;
    QComboBox* private_;
    QLabel* problem_;
    QPushButton* syncNow_;
    QPushButton* cancel_;
    QProgressBar* busy_;
    QLabel* runningText_;
    QLabel* progress_;
};

// Slot AddressBook, shown while logged in, opened by "Address Book".
OptionsPageEntry addressBookPageEntry();

}  // namespace vellix
