#include "ui/options_frame.h"

#include "core/messages.h"

namespace vellix {

OptionsFrame::OptionsFrame(OptionsFrameDeps deps, const Clock& clock)
    : Frame("Vellix Options", clock), deps_(std::move(deps)) {
}

OptionsFrame::~OptionsFrame() {
    delete sheet_.data();
}

Property_MainSheet* OptionsFrame::open(std::string_view pageName) {
    if (!sheet_) {
        sheet_ = new Property_MainSheet(deps_.context, deps_.pages);
    }
    sheet_->showPage(pageName);
    sheet_->show();
    sheet_->setWindowState(sheet_->windowState() & ~Qt::WindowMinimized);
    sheet_->raise();
    sheet_->activateWindow();
    return sheet_;
}

LResult OptionsFrame::handleMessage(Message& message) {
    if (message.id == UM_OPTIONS_PAGE) {
        open(message.take<std::string>().value_or(std::string()));
        return 0;
    }
    if (message.id == UM_USER_LIST_READY || message.id == UM_SYNC_STATUS ||
        message.id == UM_SYNC_FINISHED) {
        const PageMessage passed{message.id, message.w,
                                 message.take<std::string>().value_or(std::string())};
        for (int i = 0; sheet_ && i < sheet_->pageCount(); ++i) {
            sheet_->page(i)->frameMessage(passed);
        }
        return 0;
    }
    return Frame::handleMessage(message);
}

}  // namespace vellix
