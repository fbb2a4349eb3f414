#pragma once
// The login dialog (resource 193): a remembered account or a new name, its password, and
// whether to remember the password.

#include <QDialog>
#include <optional>
#include <vector>

#include "core/account_store.h"
#include "core/string_table.h"
#include "server/server_dialogs.h"

class QCheckBox;
class QFormLayout;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vellix {

class LoginDialog final : public QDialog {
    Q_OBJECT
  public:
    LoginDialog(const StringTable& strings, std::vector<RememberedAccount> accounts,
                int selectedSlot, QWidget* parent = nullptr);

    // What OK gives for the fields as they are now; nothing without a user name.
    std::optional<LoginAnswer> answer() const;
    // Shows why the dialog is back (a refused password) above the fields.
    void setProblem(const QString& text);

  private:
    void fillFromAccount(int index);
    void updateOk();

    std::vector<RememberedAccount> accounts_;
    QComboBox* account_;
    QLineEdit* password_;
    QCheckBox* remember_;
    QPushButton* ok_ = nullptr;
    QFormLayout* layout_ = nullptr;
};

}  // namespace vellix
