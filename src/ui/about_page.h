#pragma once
// Property_AboutPage: the program's name, version and the maker's link.

#include "ui/options_context.h"
#include "ui/options_page.h"

namespace vellix {

class LinkLabel;

// "version 9.0.0"
QString versionText(const StringTable& strings);

class Property_AboutPage final : public OptionsPage {
    Q_OBJECT
  public:
    explicit Property_AboutPage(OptionsContext& context, QWidget* parent = nullptr);
    LinkLabel* link() const { return link_; }

  private:
    LinkLabel* link_;
};

OptionsPageEntry aboutPageEntry();

}  // namespace vellix
