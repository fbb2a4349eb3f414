#pragma once
// Property_MiscPage: browser, buddies, idle time, spelling, tray menu size, chat log, exit
// question, main window and Enter key, plus the spelling dialogs and the default mail
// program. Needs a login: shown while logged out, it closes the window.

#include <array>

#include "core/result.h"

#include "ui/misc_settings.h"
#include "ui/options_context.h"
#include "ui/options_page.h"

class QCheckBox;
class QLabel;
class QSpinBox;
class QPushButton;

namespace vellix {

class Property_MiscPage final : public OptionsPage {
    Q_OBJECT
  public:
    explicit Property_MiscPage(OptionsContext& context, QWidget* parent = nullptr);

    void pageShown() override;
    bool applyPage() override;

  private:
    void load();
    void refreshDefaultMail();
    void showDefaultMail(const Result<bool>& isDefault);
    void makeDefaultMail();

    OptionsContext& context_;
    std::array<QCheckBox*, kMiscFlagCount> checks_{};
    QSpinBox* autoOffline_;
    QSpinBox* folderInMenu_;
    QPushButton* spellOptions_;
    QPushButton* dictionary_;
    QPushButton* makeDefault_;
    QLabel* defaultStatus_;
    int loadedAutoOffline_ = 0;
    int defaultMailAsked_ = 0;
};

OptionsPageEntry miscPageEntry();

}  // namespace vellix
