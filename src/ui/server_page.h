#pragma once
// Property_ServerPage: the server address, account, poll interval, connection and mail
// program. Apply follows planServerApply (server_page_rules.h).

#include "ui/options_context.h"
#include "ui/options_page.h"
#include "ui/server_page_rules.h"

class QLineEdit;
class QCheckBox;
class QRadioButton;
class QLabel;

namespace vellix {

class Property_ServerPage final : public OptionsPage {
    Q_OBJECT
  public:
    explicit Property_ServerPage(OptionsContext& context, QWidget* parent = nullptr);

    bool pageLeaving() override;
    bool applyPage() override;

    ServerForm form() const;

  private:
    void load();
    void proxyToggled();
    void browseMailClient();
    ServerCurrent current() const;

    OptionsContext& context_;
    ServerEdits edits_;
    QLineEdit* url_;
    QLineEdit* user_;
    QLineEdit* password_;
    QCheckBox* remember_;
    QLineEdit* interval_;
    QRadioButton* direct_;
    QRadioButton* proxy_;
    QLabel* proxyServerLabel_;
    QLabel* proxyPortLabel_;
    QLineEdit* proxyServer_;
    QLineEdit* proxyPort_;
    QLineEdit* mailClient_;
};

OptionsPageEntry serverPageEntry();

}  // namespace vellix
