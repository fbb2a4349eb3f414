#pragma once
// Property_MainSheet: the options window. Its pages come from a list of entries (see
// options_pages.h) filtered by the login state at the moment it is made; OK and Apply run
// every page that was shown at least once. GUI thread only.

#include <QDialog>

#include <string_view>
#include <vector>

#include "ui/options_context.h"
#include "ui/options_page.h"
#include "ui/options_pages.h"

class QTabWidget;
class QPushButton;

namespace vellix {

class Property_MainSheet final : public QDialog {
    Q_OBJECT
  public:
    Property_MainSheet(OptionsContext& context, const std::vector<OptionsPageEntry>& entries,
                       QWidget* parent = nullptr);
    ~Property_MainSheet() override;

    // Makes the page of that name active when it exists; false otherwise.
    bool showPage(std::string_view name);
    int pageCount() const;
    OptionsPage* page(int index) const;
    OptionsPage* activePage() const;
    int activeHelpTopic() const;

    // OK and Apply: false when a page kept the window open.
    bool apply();

  protected:
    void done(int result) override;

  private:
    void pageChanged(int index);
    void openHelp();
    void closeProgram();

    OptionsContext& context_;
    std::vector<const OptionsPageEntry*> entries_;
    std::vector<OptionsPage*> pages_;
    std::vector<bool> shown_;
    QTabWidget* tabs_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    int current_ = -1;
    bool switching_ = false;
};

}  // namespace vellix
