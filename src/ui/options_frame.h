#pragma once
// The options window's owner: a frame on the GUI thread that keeps at most one
// Property_MainSheet. UM_OPTIONS_PAGE (payload: the page name as std::string, empty for
// "as it is") opens the window or brings the open one to the front on that page;
// UM_USER_LIST_READY, UM_SYNC_STATUS and UM_SYNC_FINISHED go on to the open window's pages. Any
// thread may post to it; it touches widgets only on the GUI thread.

#include <QPointer>

#include <vector>

#include "core/frame.h"
#include "ui/options_context.h"
#include "ui/options_pages.h"
#include "ui/options_sheet.h"

namespace vellix {

struct OptionsFrameDeps {
    OptionsContext context;
    // The pages in any order; the sheet orders them by slot.
    std::vector<OptionsPageEntry> pages;
};

class OptionsFrame final : public Frame {
    Q_OBJECT
  public:
    OptionsFrame(OptionsFrameDeps deps, const Clock& clock);
    ~OptionsFrame() override;

    // Opens or raises the window on the named page; the window.
    Property_MainSheet* open(std::string_view pageName);
    Property_MainSheet* sheet() const { return sheet_; }

  protected:
    LResult handleMessage(Message& message) override;

  private:
    OptionsFrameDeps deps_;
    QPointer<Property_MainSheet> sheet_;
};

}  // namespace vellix
